#include "linesplitter.h"

#include "irc/formatcodes.h"

#include <QByteArrayView>

namespace irc {

namespace {

// The formatting in effect at a point of the text.
struct OpenFormat {
    FormatToggles toggles;
    QByteArray colour; // the last \x03 code with its digits, empty: default
    QByteArray hex;    // the last \x04 code with its digits, empty: default

    QByteArray codes() const {
        QByteArray out;
        if (toggles.bold)
            out += '\x02';
        if (toggles.italic)
            out += '\x1d';
        if (toggles.underline)
            out += '\x1f';
        if (toggles.strike)
            out += '\x1e';
        if (toggles.mono)
            out += '\x11';
        if (toggles.reverse)
            out += '\x16';
        return out + colour + hex;
    }
};

// A colour code as it is written again at a piece's start; a one-digit
// colour would take a digit that follows it for its own: always two digits.
QByteArray colourCode(const FormatToken &token) {
    if (token.foreground.isEmpty())
        return {};
    const bool hex = token.code == '\x04';
    const auto digits = [&](QByteArrayView number) {
        return hex ? number.toByteArray() : number.toByteArray().rightJustified(2, '0');
    };
    QByteArray code = token.code + digits(token.foreground);
    if (!token.background.isEmpty())
        code += ',' + digits(token.background);
    return code;
}

// The length of the token at `i`. Updates the state.
qsizetype token(QByteArrayView text, qsizetype i, OpenFormat &state) {
    const FormatToken token = readFormatToken(text, i);
    switch (token.type) {
    case FormatToken::Type::Toggle:
        state.toggles.toggle(token.code);
        break;
    case FormatToken::Type::Reset:
        state = OpenFormat();
        break;
    case FormatToken::Type::Colour:
        (token.code == '\x04' ? state.hex : state.colour) = colourCode(token);
        break;
    case FormatToken::Type::Text:
        break;
    }
    return token.length;
}

} // namespace

qsizetype textRoom(qsizetype nickUserHostBytes, qsizetype targetBytes) {
    // ":" prefix " PRIVMSG " target " :" text CR LF
    return kMaxLineBytes - (1 + nickUserHostBytes + 9 + targetBytes + 2 + 2);
}

SplitText splitText(const QByteArray &text, qsizetype room, int maxPieces) {
    SplitText result;
    const QByteArrayView all(text);
    OpenFormat state;
    qsizetype start = 0;
    while (start < all.size()) {
        if (result.pieces.size() == maxPieces) {
            result.bytesLeftOut = all.size() - start;
            break;
        }
        const QByteArray lead = state.codes();
        const qsizetype fits = room - lead.size();
        OpenFormat walking = state;
        qsizetype i = start;
        qsizetype lastEdge = start; // the end of the last whole token that fits
        qsizetype lastBlank = -1;   // the position of the last blank that fits
        OpenFormat atEdge = walking, atBlank = walking;
        while (i < all.size()) {
            OpenFormat next = walking;
            const qsizetype length = token(all, i, next);
            if (i + length - start > fits)
                break;
            if (all[i] == ' ' && i > start) {
                lastBlank = i;
                atBlank = walking;
            }
            walking = next;
            i += length;
            lastEdge = i;
            atEdge = walking;
        }
        // A blank just past the room is as good a place to split as one within.
        if (i < all.size() && all[i] == ' ' && i > start) {
            lastBlank = i;
            atBlank = walking;
        }
        if (i >= all.size()) {
            result.pieces.append(lead + all.sliced(start).toByteArray());
            start = all.size();
            break;
        }
        if (lastBlank > start) {
            result.pieces.append(lead + all.sliced(start, lastBlank - start).toByteArray());
            state = atBlank;
            start = lastBlank + 1; // the blank is where the pieces meet
        } else {
            // No room even for one token: the room is too small to say anything.
            if (lastEdge == start)
                return {{}, all.size()};
            result.pieces.append(lead + all.sliced(start, lastEdge - start).toByteArray());
            state = atEdge;
            start = lastEdge;
        }
    }
    return result;
}

} // namespace irc
