#pragma once

#include "tests/defaultstyle.h"

#include <QByteArray>

// zorvel's two start-up lines at a first start, as IRC bytes (UTF-8): the
// ascii's green (#009900) as colour 03, the near-black font colour (#00000C)
// as the default colour, underlines as \x1F, the link as its text and address;
// blanks as the room shows them (HTML folds a run of blanks into one). The
// style they were made with is firstStartRecord() (defaultstyle.h).
inline const QByteArray kLoadLine1Irc = "\x03"
                                        "03/\xc2\xaf\\\x03 zorvel -:-\x03"
                                        "03 brondel \x03-:- \x1fl\xc3\xb8\xc3\xa0"
                                        "d\xc3\xa9"
                                        "d\x1f \x03"
                                        "03-:- \x03quibbet \x03"
                                        "03/\xc2\xaf\\";
inline const QByteArray kLoadLine2Irc = "\x03"
                                        "03/\xc2\xaf\\\x03 id: \x1f\x03"
                                        "03frobble\x1f\x03 -:- styl\xc3\xa8: "
                                        "\x1f\x03"
                                        "03def\xc3\xa0\xc3\xb9lt\x1f \x03-:- \x1f\x03"
                                        "12dl h\xc3\xa9r\xc3\xa8"
                                        " (https://zorvel.example/download)\x1f\x03 \x03"
                                        "03/\xc2\xaf\\";
