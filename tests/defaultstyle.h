#pragma once

#include "settings/settingsrecord.h"

// The current settings record as a first start fills it from the defaults.
inline settings::PlainRecord firstStartRecord() {
    using settings::Field;
    settings::PlainRecord record;
    record.setCaption(Field::StyleName, QStringLiteral("def\u00e0\u00f9lt"));
    record.setCaption(Field::FontColour, QStringLiteral("00000C"));
    record.setCaption(Field::AsciiColour, QStringLiteral("009900"));
    record.setCaption(Field::FrontAscii, QStringLiteral("/\u00af\\"));
    record.setCaption(Field::MiddleAscii, QStringLiteral("-:-"));
    record.setCaption(Field::BackAscii, QStringLiteral("/\u00af\\"));
    return record;
}
