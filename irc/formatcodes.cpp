#include "formatcodes.h"

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

// The digits of a colour number at `at`: up to two decimal ones, or a hex
// colour's six (all six or none).
qsizetype colourDigits(QByteArrayView text, qsizetype at, bool hex) {
    const int digits = hex ? 6 : 2;
    qsizetype n = 0;
    while (n < digits && (hex ? isHexDigit(text, at + n) : isDigit(text, at + n)))
        ++n;
    return hex && n < digits ? 0 : n;
}

qsizetype characterLength(QByteArrayView text, qsizetype i) {
    const auto c = std::uint8_t(text[i]);
    qsizetype length = 1;
    if (c >= 0xf0 && c < 0xf8)
        length = 4;
    else if (c >= 0xe0)
        length = c < 0xf0 ? 3 : 1;
    else if (c >= 0xc0)
        length = 2;
    for (qsizetype k = 1; k < length; ++k) {
        if (i + k >= text.size() || (std::uint8_t(text[i + k]) & 0xc0) != 0x80)
            return k;
    }
    return length;
}

} // namespace

FormatToken readFormatToken(QByteArrayView text, qsizetype i) {
    FormatToken token;
    const char c = text[i];
    switch (c) {
    case '\x02':
    case '\x1d':
    case '\x1f':
    case '\x1e':
    case '\x11':
    case '\x16':
        token.type = FormatToken::Type::Toggle;
        token.code = c;
        return token;
    case '\x0f':
        token.type = FormatToken::Type::Reset;
        return token;
    case '\x03':
    case '\x04': {
        const bool hex = c == '\x04';
        token.type = FormatToken::Type::Colour;
        token.code = c;
        qsizetype end = i + 1;
        const qsizetype first = colourDigits(text, end, hex);
        token.foreground = text.sliced(end, first);
        end += first;
        if (first > 0 && end < text.size() && text[end] == ',') {
            if (const qsizetype second = colourDigits(text, end + 1, hex)) {
                token.background = text.sliced(end + 1, second);
                end += 1 + second;
            }
        }
        token.length = end - i;
        return token;
    }
    default:
        token.length = characterLength(text, i);
        return token;
    }
}

void FormatToggles::toggle(char code) {
    switch (code) {
    case '\x02':
        bold = !bold;
        break;
    case '\x1d':
        italic = !italic;
        break;
    case '\x1f':
        underline = !underline;
        break;
    case '\x1e':
        strike = !strike;
        break;
    case '\x11':
        mono = !mono;
        break;
    case '\x16':
        reverse = !reverse;
        break;
    default:
        break;
    }
}

QByteArray stripFormatCodes(QByteArrayView text) {
    QByteArray plain;
    for (qsizetype i = 0; i < text.size();) {
        const FormatToken token = readFormatToken(text, i);
        if (token.type == FormatToken::Type::Text)
            plain += text.sliced(i, token.length);
        i += token.length;
    }
    return plain;
}

} // namespace irc
