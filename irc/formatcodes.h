#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace irc {

// One token of IRC text (UTF-8 with formatting codes): a code with its
// digits, or one character.
struct FormatToken {
    enum class Type { Text, Toggle, Reset, Colour };
    Type type = Type::Text;
    qsizetype length = 1; // in bytes
    char code = 0;        // Toggle and Colour: the code's byte (\x03, or \x04 for hex)
    // Colour: the digits (two decimal at most, or a hex colour's six); an
    // empty foreground is the code alone, which resets both colours.
    QByteArrayView foreground;
    QByteArrayView background;
};

// The token at `i` (< text.size()). A character cut short or a stray byte
// counts only as far as it is whole, at least one byte.
FormatToken readFormatToken(QByteArrayView text, qsizetype i);

// The formatting that codes switch on and off.
struct FormatToggles {
    bool bold = false, italic = false, underline = false, strike = false, mono = false,
         reverse = false;
    bool operator==(const FormatToggles &) const = default;
    // Switches the one for the code.
    void toggle(char code);
};

// The text with every formatting code taken out.
QByteArray stripFormatCodes(QByteArrayView text);

} // namespace irc
