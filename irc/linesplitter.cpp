#include "linesplitter.h"

#include <QByteArrayView>

#include <cstdint>

namespace irc {

namespace {

bool isDigit(QByteArrayView text, qsizetype i) {
    return i < text.size() && text[i] >= '0' && text[i] <= '9';
}

bool isHexDigit(QByteArrayView text, qsizetype i) {
    if (i >= text.size())
        return false;
    const char c = text[i];
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The formatting in effect at a point of the text.
struct State {
    bool bold = false, italic = false, underline = false, strike = false, mono = false,
         reverse = false;
    QByteArray colour; // the last \x03 code with its digits, empty: default
    QByteArray hex;    // the last \x04 code with its digits, empty: default

    QByteArray codes() const {
        QByteArray out;
        if (bold)
            out += '\x02';
        if (italic)
            out += '\x1d';
        if (underline)
            out += '\x1f';
        if (strike)
            out += '\x1e';
        if (mono)
            out += '\x11';
        if (reverse)
            out += '\x16';
        return out + colour + hex;
    }
};

// Toggles or clears the formatting for a one-byte code; false when `c` is
// none of them.
bool applyToggle(std::uint8_t c, State &state) {
    switch (c) {
    case 0x02:
        state.bold = !state.bold;
        return true;
    case 0x1d:
        state.italic = !state.italic;
        return true;
    case 0x1f:
        state.underline = !state.underline;
        return true;
    case 0x1e:
        state.strike = !state.strike;
        return true;
    case 0x11:
        state.mono = !state.mono;
        return true;
    case 0x16:
        state.reverse = !state.reverse;
        return true;
    case 0x0f:
        state = State();
        return true;
    default:
        return false;
    }
}

// The digits of a colour number at `at`: up to two decimal ones, or a hex
// colour's six.
qsizetype colourDigits(QByteArrayView text, qsizetype at, bool hex) {
    const int digits = hex ? 6 : 2;
    qsizetype n = 0;
    while (n < digits && (hex ? isHexDigit(text, at + n) : isDigit(text, at + n)))
        ++n;
    // A hex colour is all six digits or none.
    return hex && n < digits ? 0 : n;
}

// Written again at a piece's start, a one-digit colour would take a digit
// that follows it for its own: always two digits there.
QByteArray twoDigitColour(const QByteArray &code) {
    const QList<QByteArray> numbers = code.mid(1).split(',');
    QByteArray out = "\x03";
    for (qsizetype n = 0; n < numbers.size(); ++n)
        out += (n ? "," : "") + numbers[n].rightJustified(2, '0');
    return out;
}

// The length of the colour code (\x03 or \x04) at `i` with its
// foreground[,background] digits. Updates the state.
qsizetype colourCode(QByteArrayView text, qsizetype i, State &state) {
    const bool hex = text[i] == '\x04';
    qsizetype end = i + 1;
    const qsizetype first = colourDigits(text, end, hex);
    QByteArray code = text.sliced(i, 1 + first).toByteArray();
    end += first;
    if (first > 0 && end < text.size() && text[end] == ',') {
        if (const qsizetype second = colourDigits(text, end + 1, hex)) {
            code += ',' + text.sliced(end + 1, second).toByteArray();
            end += 1 + second;
        }
    }
    if (first == 0)
        code.clear();
    else if (!hex)
        code = twoDigitColour(code);
    (hex ? state.hex : state.colour) = code;
    return end - i;
}

// The length of the UTF-8 character at `i`.
qsizetype characterLength(QByteArrayView text, qsizetype i) {
    const auto c = std::uint8_t(text[i]);
    qsizetype length = 1;
    if (c >= 0xf0 && c < 0xf8)
        length = 4;
    else if (c >= 0xe0)
        length = c < 0xf0 ? 3 : 1;
    else if (c >= 0xc0)
        length = 2;
    // A character cut short by the end of the text, or with a byte that does
    // not continue it, counts only as far as it is whole.
    for (qsizetype k = 1; k < length; ++k) {
        if (i + k >= text.size() || (std::uint8_t(text[i + k]) & 0xc0) != 0x80)
            return k;
    }
    return length;
}

// The length of the token at `i`: a formatting code with its digits, or one
// UTF-8 character (a stray byte counts alone). Updates the state.
qsizetype token(QByteArrayView text, qsizetype i, State &state) {
    const auto c = std::uint8_t(text[i]);
    if (c == 0x03 || c == 0x04)
        return colourCode(text, i, state);
    if (applyToggle(c, state))
        return 1;
    return characterLength(text, i);
}

} // namespace

qsizetype textRoom(qsizetype nickUserHostBytes, qsizetype targetBytes) {
    // ":" prefix " PRIVMSG " target " :" text CR LF
    return kMaxLineBytes - (1 + nickUserHostBytes + 9 + targetBytes + 2 + 2);
}

SplitText splitText(const QByteArray &text, qsizetype room, int maxPieces) {
    SplitText result;
    const QByteArrayView all(text);
    State state;
    qsizetype start = 0;
    while (start < all.size()) {
        if (result.pieces.size() == maxPieces) {
            result.bytesLeftOut = all.size() - start;
            break;
        }
        const QByteArray lead = state.codes();
        const qsizetype fits = room - lead.size();
        State walking = state;
        qsizetype i = start;
        qsizetype lastEdge = start; // the end of the last whole token that fits
        qsizetype lastBlank = -1;   // the position of the last blank that fits
        State atEdge = walking, atBlank = walking;
        while (i < all.size()) {
            State next = walking;
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
