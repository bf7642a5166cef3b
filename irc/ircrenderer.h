#pragma once

#include <QString>

namespace irc {

// An IRC message's text as HTML for a room's transcript: bold (\x02), italic
// (\x1D), underline (\x1F), strike-through (\x1E), monospace (\x11), reverse
// (\x16), colours \x03NN[,NN] (0 to 98; 99 the default) and \x04RRGGBB[,RRGGBB],
// reset (\x0F). Every character of the text is escaped, so no one can put
// markup of their own into the room; other control characters are dropped.
QString ircToHtml(const QString &text);

// The text with every formatting code taken out.
QString stripFormatting(const QString &text);

} // namespace irc
