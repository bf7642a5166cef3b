#include "irccolours.h"

#include <array>
#include <cstdint>
#include <limits>

namespace irc {

namespace {

constexpr std::array<std::uint32_t, kColourCount> kPalette = {
    // The sixteen standard colours.
    0xffffff,
    0x000000,
    0x00007f,
    0x009300,
    0xff0000,
    0x7f0000,
    0x9c009c,
    0xfc7f00, //
    0xffff00,
    0x00fc00,
    0x009393,
    0x00ffff,
    0x0000fc,
    0xff00ff,
    0x7f7f7f,
    0xd2d2d2, //
    // 16 to 98.
    0x470000,
    0x472100,
    0x474700,
    0x324700,
    0x004700,
    0x00472c,
    0x004747,
    0x002747, //
    0x000047,
    0x2e0047,
    0x470047,
    0x47002a,
    0x740000,
    0x743a00,
    0x747400,
    0x517400, //
    0x007400,
    0x007449,
    0x007474,
    0x004074,
    0x000074,
    0x4b0074,
    0x740074,
    0x740045, //
    0xb50000,
    0xb56300,
    0xb5b500,
    0x7db500,
    0x00b500,
    0x00b571,
    0x00b5b5,
    0x0063b5, //
    0x0000b5,
    0x7500b5,
    0xb500b5,
    0xb5006b,
    0xff0000,
    0xff8c00,
    0xffff00,
    0xb2ff00, //
    0x00ff00,
    0x00ffa0,
    0x00ffff,
    0x008cff,
    0x0000ff,
    0xa500ff,
    0xff00ff,
    0xff0098, //
    0xff5959,
    0xffb459,
    0xffff71,
    0xcfff60,
    0x6fff6f,
    0x65ffc9,
    0x6dffff,
    0x59b4ff, //
    0x5959ff,
    0xc459ff,
    0xff66ff,
    0xff59bc,
    0xff9c9c,
    0xffd39c,
    0xffff9c,
    0xe2ff9c, //
    0x9cff9c,
    0x9cffdb,
    0x9cffff,
    0x9cd3ff,
    0x9c9cff,
    0xdc9cff,
    0xff9cff,
    0xff94d3, //
    0x000000,
    0x131313,
    0x282828,
    0x363636,
    0x4d4d4d,
    0x656565,
    0x818181,
    0x9f9f9f, //
    0xbcbcbc,
    0xe2e2e2,
    0xffffff,
};

constexpr int kStandardCount = 16;
constexpr int kWhite = 0;
constexpr int kBlack = 1;

// The "redmean" distance: plain RGB distance weighted by how the eye tells
// reds, greens and blues apart.
long long distance(const QColor &a, const QColor &b) {
    const long long meanRed = (a.red() + b.red()) / 2;
    const long long dr = a.red() - b.red();
    const long long dg = a.green() - b.green();
    const long long db = a.blue() - b.blue();
    return ((512 + meanRed) * dr * dr >> 8) + 4 * dg * dg + ((767 - meanRed) * db * db >> 8);
}

} // namespace

QColor colourOfCode(int code) {
    if (code < 0 || code >= kColourCount)
        return {};
    return QColor::fromRgb(QRgb(kPalette[std::size_t(code)]));
}

int nearestStandardColour(const QColor &colour) {
    int best = 0;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (int code = 0; code < kStandardCount; ++code) {
        const long long d = distance(colour, colourOfCode(code));
        if (d < bestDistance) {
            best = code;
            bestDistance = d;
        }
    }
    return best;
}

bool sentAsDefaultColour(const QColor &colour) {
    const int nearest = nearestStandardColour(colour);
    return nearest == kWhite || nearest == kBlack;
}

} // namespace irc
