#pragma once

#include <QByteArray>

// What the room receives from the style shop, in Windows-1252, written out
// from the catalogue and the line layouts by hand.

// A style's announcement after it is applied, and its middle ascii (which
// the announcement does not show).
struct ExpectedStyle {
    int number;
    const char *middle;
    const char *line;
};

// Style 1's line is the catalogue's worked example.
inline constexpr ExpectedStyle kExpectedStyles[] = {
    // clang-format off
    {1, "-",
     "</b></i></u><font face=\"arial narrow\" color=#008000>^v^v^v"
     "<font color=#0099FF>  styl\xE9:<font color=#008000> <u>glimt\xE0r</u>"
     "<font color=#0099FF> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#008000>v^v^v^"
     "<font color=#FFFFFC>"},
    {2, ",",
     "</b></i></u><font face=\"arial narrow\" color=#0C9F8A>*^-^v^-+"
     "<font color=#c0c0c0>  styl\xE9:<font color=#0C9F8A> <u>qu\xF8van\xE9</u>"
     "<font color=#c0c0c0> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#0C9F8A>+-v^v-^*"},
    {4, "\x9B",
     "</b></i></u><font face=\"arial narrow\" color=#029384><font face=\"Marlett\">ox"
     "<font face=\"Jokerman\"><font color=#0085ff>  styl\xE9:"
     "<font color=#029384> <u>tr\xE9" "bolk</u>"
     "<font color=#0085ff> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#029384>"
     "<font face=\"Marlett\">ox"},
    {5, "\xBB",
     "</b></i></u><font face=\"arial narrow\" color=#0099FF>-\x8B^\x9B-"
     "<font color=#00000C>  styl\xE9: <font color=#0099FF><u>brondel\xB9</u> "
     "<font color=#00000C>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#0099FF>-\x8B^\x9B-"},
    {6, "\x9B\xB7\x8B",
     "</b></i></u><font face=\"arial narrow\" color=#abcdef>`\x96\xB7\xF8\x9B\xAD\x8B"
     "<font color=#0587C3>  styl\xE9: <font color=#abcdef><u>wist\xF8rn</u> "
     "<font color=#0587C3>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#abcdef>\x9B-\x8B\xF8\xB7\x96\xB4"},
    {7, ",",
     "</b></i></u><font face=\"arial narrow\" color=#ff80c0>*-l-*"
     "<font color=#8080ff>  styl\xE9: <font color=#ff80c0><u>f\xE0lv\xE9</u> "
     "<font color=#8080ff>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#ff80c0>*-l-*"},
    {8, "\x8B",
     "</b></i></u><font face=\"arial narrow\" color=#987c65>"
     "<font face=\"Wingdings\">\x91\x94<font face=\"arial narrow\">"
     "<font color=#0000ff>  styl\xE9: <font color=#987c65><u>n\xF8" "bbik\xE9</u> "
     "<font color=#0000ff>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#987c65>"
     "<font face=\"Wingdings\">\x91\x94"},
    {9, "\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#0098FF>`\xF8\x9B"
     "<font color=#CCCCCC>  styl\xE9: <font color=#0098FF><u>KeloVa</u> "
     "<font color=#CCCCCC>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#0098FF>\x8B\xF8\xB4"},
    {10, "\x95",
     "</b></i></u><font face=\"arial narrow\" color=#778899>^\x95."
     "<font color=#000080>  styl\xE9:<font color=#778899> <u>lur\xF8</u>"
     "<font color=#000080> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#778899>.\x95^"
     "<font color=#FFFFFC>"},
    {11, "\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#0080ff><font face=\"arial black\">.:."
     "<font face=\"arial narrow\"><font color=#000098>  styl\xE9:"
     "<font color=#0080ff> <u>vex\xE0</u>"
     "<font color=#000098> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#0080ff>"
     "<font face=\"arial black\">.:.<font color=#FFFFFC>"},
    {12, "\xAA",
     "</b></i></u><font face=\"arial narrow\" color=#000000>\xF8\xBA"
     "<font color=#ff0000>  styl\xE9:<font color=#000000> <u>tuq</u>"
     "<font color=#ff0000> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#000000>\xBA\xF8<font color=#FFFFFC>"},
    {13, "\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#ff80ff><font face=\"Webdings\">Y"
     "<font face=\"arial narrow\"><font color=#0099FF>  styl\xE9:"
     "<font color=#ff80ff> <u>d\xF8lvin</u>"
     "<font color=#0099FF> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#ff80ff>"
     "<font face=\"Webdings\">Y<font color=#FFFFFC>"},
    {14, ",",
     "</b></i></u><font face=\"arial narrow\" color=#000099>"
     "<font face=\"impact\">\xF7\xD7\x95\xD7\xF7<font face=\"arial narrow\">"
     "<font color=#007500>  styl\xE9:<font color=#000099> <u>skarnet\xB9</u>"
     "<font color=#007500> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#000099>"
     "<font face=\"impact\">\xF7\xD7\x95\xD7\xF7"},
    {15, ";",
     "</b></i></u><font face=\"arial narrow\" color=#FFFFFG><font face=\"Arial Black\">-"
     "<font color=f0f0f0>-<font color=#ff1122>-<font color=#ff0000>-<font color=#ce0000>---"
     "<font face=\"arial narrow\"><font color=#008080>  styl\xE9:"
     "<font color=#FFFFFG> <u>f\xE9nnok</u>"
     "<font color=#008080> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#FFFFFG>"
     "<font face=\"Arial Black\"><font color=#ce0000>---<font color=#ff0000>-"
     "<font color=#ff1122>-<font color=f0f0f0>--"},
    {16, "\x9B\x8B",
     "</b></i></u><font face=\"arial narrow\" color=#008000><B>\x8B</B>\x8B<I>\x8B</I>"
     "<font color=#c0c0c0>  styl\xE9: <font color=#008000><u>br\xE0vilo</u> "
     "<font color=#c0c0c0>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#008000><b>\x9B</b>\x9B<i>\x9B</i>"},
    {17, "\x95",
     "</b></i></u><font face=\"arial narrow\" color=#ff0000><i><b>(</b></i>\\"
     "<font color=#666666>  styl\xE9: <font color=#ff0000><u>h\xF9mptar</u> "
     "<font color=#666666>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#ff0000>/<i><b>)</b></i>"},
    {18, ",",
     "</b></i></u><font face=\"arial narrow\" color=#c0c976>"
     "<font face=\"Webdings\">\xEF\x85\xF0<font face=\"arial narrow\">"
     "<font color=#aa0000>  styl\xE9: <font color=#c0c976><u>z\xE9phrin</u> "
     "<font color=#aa0000>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#c0c976>"
     "<font face=\"Webdings\">\xEF\x85\xF0"},
    {19, ")\xF7(",
     "</b></i></u><font face=\"arial narrow\" color=#ff8000>\xF7("
     "<font color=#ff80c0>  styl\xE9: <font color=#ff8000><u>t0ff</u> "
     "<font color=#ff80c0>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#ff8000>)\xF7"},
    {20, "\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#0000a0><font face=\"Wingdings\">\xA5"
     "<font face=\"arial narrow\"><font color=#000000>  styl\xE9: "
     "<font color=#0000a0><u>plenk</u> "
     "<font color=#000000>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#0000a0>"
     "<font face=\"Wingdings\">\xA5"},
    {21, ",",
     "</b></i></u><font face=\"arial narrow\" color=#000000><font face=\"Bell MT\">\x9B"
     "<font color=#000000>  styl\xE9: <font color=#000000><u>dr\xF8mp</u> "
     "<font color=#000000>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#000000>"},
    {22, ",",
     "</b></i></u><font face=\"arial narrow\" color=#c0968c><font face=\"japanese\">^Q"
     "<font face=\"arial narrow\"><font color=#042156>  styl\xE9: "
     "<font color=#c0968c><u>pellux</u> "
     "<font color=#042156>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#c0968c>"
     "<font face=\"japanese\">Q^"},
    {23, "\x95",
     "</b></i></u><font face=\"arial narrow\" color=#ff0000><font face=\"Symbol\">\xE5x\xDE"
     "<font face=\"arial narrow\"><font color=#408080>  styl\xE9: "
     "<font color=#ff0000><u>\xF8rm\xE0" "din</u> "
     "<font color=#408080>w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  <font color=#ff0000>"
     "<font face=\"Symbol\">\xDC\xC4\xC0"},
    {24, "-",
     "</b></i></u><font face=\"arial narrow\" color=#a0c0f0>zorvel suxz"
     "<font color=#c0c9c8>  styl\xE9:<font color=#a0c0f0> <u>zorvel suxz</u>"
     "<font color=#c0c9c8> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#a0c0f0>zxus levroz"},
    {25, "\xB7\xB7\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#0c9cf4>\xA8\x91\xB4\xBA\xB7o"
     "<font color=#234ccc>  styl\xE9:<font color=#0c9cf4> <u>n\xF9v\xE9</u>"
     "<font color=#234ccc> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#0c9cf4>o\xB7\xBA`\x91\xA8"},
    {26, "\xB7\xB7\xB7",
     "</b></i></u><font face=\"arial narrow\" color=#7463ca><i>\x9B</i>\x9B\xBB"
     "<font color=#748302>  styl\xE9:<font color=#7463ca> <u>gr\xE9vint\xF8lk</u>"
     "<font color=#748302> w\xE2s n\xF8w l\xF8\xE0" "d\xEA" "d.  "
     "<font color=#7463ca>\xAB\x8B<i>\x8B</i>"},
    // clang-format on
};

// The shop's load and unload lines with the first-start style in effect (the
// load line is the worked example).
// clang-format off
inline constexpr const char *kLoadLineDefaults =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xAF\\"
    "<font color=#00000C> zorvel <font color=#009900>styl\xE8 sh\xF8p"
    "<font color=#00000C> -:- l\xF8\xE2" "d\xEA" "d <font color=#009900>/\xAF\\"
    "<font color=#FFFFFC>";
inline constexpr const char *kUnloadLineDefaults =
    "</b></i></u><font face=\"arial narrow\" color=#009900>/\xAF\\"
    "<font color=#00000C> zorvel <font color=#009900>styl\xE8 sh\xF8p"
    "<font color=#00000C> -:- \xF9\xF1l\xF8\xE2" "d\xEA" "d <font color=#009900>/\xAF\\"
    "<font color=#FFFFFC>";
// The unload line with style 21 in effect: its back ascii is empty.
inline constexpr const char *kUnloadLineStyle21 =
    "</b></i></u><font face=\"arial narrow\" color=#000000><font face=\"Bell MT\">\x9B"
    "<font color=#000000> zorvel <font color=#000000>styl\xE8 sh\xF8p<font color=#000000> , "
    "\xF9\xF1l\xF8\xE2" "d\xEA" "d <font color=#000000><font color=#FFFFFC>";
// clang-format on

// The style's expected line, or nullptr.
inline const ExpectedStyle *expectedStyle(int number) {
    for (const ExpectedStyle &style : kExpectedStyles)
        if (style.number == number)
            return &style;
    return nullptr;
}

// The style's expected line; empty where there is no such style, which no
// line the room receives equals.
inline QByteArray expectedLine(int number) {
    const ExpectedStyle *style = expectedStyle(number);
    return style ? QByteArray(style->line) : QByteArray();
}
