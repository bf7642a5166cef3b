#pragma once

#include <QByteArray>
#include <QList>

namespace irc {

// An IRC line is at most 512 bytes as the server relays it: the prefix it
// puts in front (":nick!user@host PRIVMSG #chan :") and CR LF included.
inline constexpr int kMaxLineBytes = 512;
// A posted line is sent as at most this many messages.
inline constexpr int kMaxPieces = 4;

struct SplitText {
    QList<QByteArray> pieces;
    qsizetype bytesLeftOut = 0; // of the text, past the last piece
};

// Splits a message's text (UTF-8 with IRC formatting) into pieces that each
// fit in `room` bytes: at the last blank that fits (the blank dropped), or
// where none does at a character's edge, never inside a character or a
// formatting code. Each piece after the first starts with the codes of the
// formatting in effect where it starts, so it looks as it did in one line.
// At most `maxPieces` pieces: the rest of the text is left out and counted.
SplitText splitText(const QByteArray &text, qsizetype room, int maxPieces = kMaxPieces);

// The bytes left for a PRIVMSG's text once the server's prefix, the command,
// the target and CR LF are counted.
qsizetype textRoom(qsizetype nickUserHostBytes, qsizetype targetBytes);

} // namespace irc
