#pragma once

#include "settingsrecord.h"

// The current settings record as a first start fills it from the defaults.
inline settings::PlainRecord defaultStyleRecord() {
    settings::PlainRecord record;
    record.setCaption(settings::Field::AsciiColour, QStringLiteral("009900"));
    record.setCaption(settings::Field::FontColour, QStringLiteral("00000C"));
    record.setCaption(settings::Field::FrontAscii, QStringLiteral("/¯\\"));
    record.setCaption(settings::Field::MiddleAscii, QStringLiteral("-:-"));
    record.setCaption(settings::Field::BackAscii, QStringLiteral("/¯\\"));
    return record;
}
