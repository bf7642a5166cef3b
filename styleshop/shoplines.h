#pragma once

#include "settings/settingsrecord.h"

#include <QString>

namespace styleshop {

struct Style;

// The shop's opening and closing lines, framed with the style in effect.
QString loadLine(const settings::SettingsRecord &record);
QString unloadLine(const settings::SettingsRecord &record);

// The announcement of a style just applied: the record's captions give the
// name, colours and asciis; the style gives the layout and the tail.
QString styleLine(const Style &style, const settings::SettingsRecord &record);

} // namespace styleshop
