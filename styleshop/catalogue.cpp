#include "catalogue.h"

#include "hostlink/chatlink.h"
#include "settings/settingsfile.h"
#include "settings/settingskeys.h"
#include "settings/settingsrecord.h"
#include "styleshop/shoplines.h"

#include <algorithm>
#include <array>

namespace styleshop {

namespace keys = settings::keys;

namespace {

// Every character here has a single-byte code in Windows-1252. Style 6's
// front ascii holds a soft hyphen between its angle quotes, written as an
// escape since it does not show.
constexpr std::array<Style, 25> kCatalogue{{
    // number, name, front, middle, back, font colour, ascii colour, layout, tail
    {1, u"glimtàr", u"^v^v^v", u"-", u"v^v^v^", u"0099FF", u"008000", Layout::A, true},
    {2, u"quøvané", u"*^-^v^-+", u",", u"+-v^v-^*", u"c0c0c0", u"0C9F8A", Layout::A, false},
    {4, u"trébolk", u"<font face=\"Marlett\">ox<font face=\"Jokerman\">", u"›",
     u"<font face=\"Marlett\">ox", u"0085ff", u"029384", Layout::A, false},
    {5, u"brondel¹", u"-‹^›-", u"»", u"-‹^›-", u"00000C", u"0099FF", Layout::B, false},
    {6, u"wistørn", u"`–·ø›\u00AD‹", u"›·‹", u"›-‹ø·–´", u"0587C3", u"abcdef", Layout::B, false},
    {7, u"fàlvé", u"*-l-*", u",", u"*-l-*", u"8080ff", u"ff80c0", Layout::B, false},
    {8, u"nøbbiké", u"<font face=\"Wingdings\">‘”<font face=\"arial narrow\">", u"‹",
     u"<font face=\"Wingdings\">‘”", u"0000ff", u"987c65", Layout::B, false},
    {9, u"KeloVa", u"`ø›", u"·", u"‹ø´", u"CCCCCC", u"0098FF", Layout::B, false},
    {10, u"lurø", u"^•.", u"•", u".•^", u"000080", u"778899", Layout::A, true},
    {11, u"vexà", u"<font face=\"arial black\">.:.<font face=\"arial narrow\">", u"·",
     u"<font face=\"arial black\">.:.", u"000098", u"0080ff", Layout::A, true},
    {12, u"tuq", u"øº", u"ª", u"ºø", u"ff0000", u"000000", Layout::A, true},
    {13, u"dølvin", u"<font face=\"Webdings\">Y<font face=\"arial narrow\">", u"·",
     u"<font face=\"Webdings\">Y", u"0099FF", u"ff80ff", Layout::A, true},
    {14, u"skarnet¹", u"<font face=\"impact\">÷×•×÷<font face=\"arial narrow\">", u",",
     u"<font face=\"impact\">÷×•×÷", u"007500", u"000099", Layout::A, false},
    // Style 15's ascii colour, and two colour tags of its asciis that lack the
    // "#", are not proper colours: the chat gets them as they are.
    {15, u"fénnok",
     u"<font face=\"Arial Black\">-<font color=f0f0f0>-<font color=#ff1122>-"
     u"<font color=#ff0000>-<font color=#ce0000>---<font face=\"arial narrow\">",
     u";",
     u"<font face=\"Arial Black\"><font color=#ce0000>---<font color=#ff0000>-"
     u"<font color=#ff1122>-<font color=f0f0f0>--",
     u"008080", u"FFFFFG", Layout::A, false},
    {16, u"bràvilo", u"<B>‹</B>‹<I>‹</I>", u"›‹", u"<b>›</b>›<i>›</i>", u"c0c0c0", u"008000",
     Layout::B, false},
    {17, u"hùmptar", u"<i><b>(</b></i>\\", u"•", u"/<i><b>)</b></i>", u"666666", u"ff0000",
     Layout::B, false},
    {18, u"zéphrin", u"<font face=\"Webdings\">ï…ð<font face=\"arial narrow\">", u",",
     u"<font face=\"Webdings\">ï…ð", u"aa0000", u"c0c976", Layout::B, false},
    {19, u"t0ff", u"÷(", u")÷(", u")÷", u"ff80c0", u"ff8000", Layout::B, false},
    {20, u"plenk", u"<font face=\"Wingdings\">¥<font face=\"arial narrow\">", u"·",
     u"<font face=\"Wingdings\">¥", u"000000", u"0000a0", Layout::B, false},
    {21, u"drømp", u"<font face=\"Bell MT\">›", u",", u"", u"000000", u"000000", Layout::B, false},
    {22, u"pellux", u"<font face=\"japanese\">^Q<font face=\"arial narrow\">", u",",
     u"<font face=\"japanese\">Q^", u"042156", u"c0968c", Layout::B, false},
    {23, u"ørmàdin", u"<font face=\"Symbol\">åxÞ<font face=\"arial narrow\">", u"•",
     u"<font face=\"Symbol\">ÜÄÀ", u"408080", u"ff0000", Layout::B, false},
    {24, u"zorvel suxz", u"zorvel suxz", u"-", u"zxus levroz", u"c0c9c8", u"a0c0f0", Layout::A,
     false},
    {25, u"nùvé", u"¨‘´º·o", u"···", u"o·º`‘¨", u"234ccc", u"0c9cf4", Layout::A, false},
    {26, u"grévintølk", u"<i>›</i>›»", u"···", u"«‹<i>‹</i>", u"748302", u"7463ca", Layout::A,
     false},
}};

using settings::Field;

// The captions are set in this order, then the keys written in theirs.
constexpr std::array kCaptionOrder{Field::StyleName,  Field::MiddleAscii, Field::BackAscii,
                                   Field::FrontAscii, Field::FontColour,  Field::AsciiColour};

constexpr std::array<StyleKey, 6> kWriteOrder{{
    {keys::kStyleName, Field::StyleName},
    {keys::kFontColour, Field::FontColour},
    {keys::kAsciiColour, Field::AsciiColour},
    {keys::kMiddleAscii, Field::MiddleAscii},
    {keys::kFrontAscii, Field::FrontAscii},
    {keys::kBackAscii, Field::BackAscii},
}};

QStringView value(const Style &style, Field field) {
    switch (field) {
    case Field::StyleName:
        return style.name;
    case Field::FontColour:
        return style.fontColour;
    case Field::AsciiColour:
        return style.asciiColour;
    case Field::FrontAscii:
        return style.front;
    case Field::MiddleAscii:
        return style.middle;
    case Field::BackAscii:
        break;
    }
    return style.back;
}

} // namespace

std::span<const Style> catalogue() { return kCatalogue; }

std::span<const StyleKey> styleKeys() { return kWriteOrder; }

const Style *styleNumbered(int number) {
    const auto found = std::find_if(kCatalogue.begin(), kCatalogue.end(),
                                    [number](const Style &s) { return s.number == number; });
    return found == kCatalogue.end() ? nullptr : &*found;
}

void applyStyle(const Style &style, settings::SettingsRecord &record) {
    for (const Field field : kCaptionOrder)
        record.setCaption(field, value(style, field).toString());
    const QString file = settings::settingsPath();
    for (const StyleKey &key : kWriteOrder)
        settings::writeToIni(settings::kSection, key.name, record.caption(key.field), file);
    hostlink::chatSend(styleLine(style, record), hostlink::LineKind::Style);
}

} // namespace styleshop
