#pragma once

#include <QByteArray>
#include <QString>

namespace irc {

// How a network wants colours written.
struct FormatOptions {
    // Each colour as \x04RRGGBB too, after its \x03NN, for clients that show
    // the exact colour.
    bool hexColours = false;
};

// A line posted in a room (HTML as the room renders it: Qt's own reading of
// the markup) as the text of an IRC message, UTF-8:
// - bold \x02, italic \x1D and underline \x1F, each written where it changes;
// - a font colour as the nearest of the sixteen standard colours, \x03NN
//   (and \x04RRGGBB when asked), a colour that is nearest white or black as
//   the default colour (\x03 alone), so the line stays readable on light and
//   dark themes alike;
// - font faces and sizes dropped, entities decoded, paragraphs joined by a blank;
// - a link as its text followed by its address in parentheses;
// - CR, LF and NUL as blanks, so no text can end the message early.
QByteArray htmlToIrc(const QString &html, const FormatOptions &options = {});

} // namespace irc
