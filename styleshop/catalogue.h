#pragma once

#include "settings/settingsrecord.h"

#include <QStringView>
#include <span>

namespace styleshop {

// Where the single blank on each side of the underlined name stands in a
// style's announcement: A puts it in the ascii colour before the name and the
// font colour after; B in the font colour before and the ascii colour after.
enum class Layout { A, B };

// A ready-made style: the six values it makes the style in effect, and how
// its announcement is laid out.
struct Style {
    int number; // the shop entry that applies it (Label<number>)
    QStringView name;
    QStringView front;
    QStringView middle;
    QStringView back;
    QStringView fontColour;
    QStringView asciiColour;
    Layout layout;
    bool tail; // whether the announcement ends with the trailer
};

// The 25 styles, in the order of their numbers (there is no style 3).
std::span<const Style> catalogue();
// The style with that number, or nullptr.
const Style *styleNumbered(int number);

// A settings key that applying a style writes, and the field it comes from.
struct StyleKey {
    QLatin1String name;
    settings::Field field;
};
// The six keys, in the order applying a style writes them.
std::span<const StyleKey> styleKeys();

// Makes the style the one in effect: the six captions of the record, the six
// settings keys (each value read back from the record), then its
// announcement in the room. Nothing in between waits.
void applyStyle(const Style &style, settings::SettingsRecord &record);

} // namespace styleshop
