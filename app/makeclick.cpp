// Writes the menu's click sound: a short, soft tick, made here rather than
// taken from anywhere. Run by the build: makeclick OUTPUT.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {
void put16(std::vector<unsigned char> &out, std::uint16_t v) {
    out.push_back(v & 0xff);
    out.push_back(v >> 8);
}
void put32(std::vector<unsigned char> &out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}
void putTag(std::vector<unsigned char> &out, const char *tag) {
    out.insert(out.end(), tag, tag + 4);
}
} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeclick OUTPUT.wav\n");
        return 2;
    }
    constexpr std::uint32_t rate = 22050;
    constexpr double seconds = 0.035;
    constexpr double pi = 3.14159265358979323846;
    const auto frames = std::uint32_t(rate * seconds);

    std::vector<unsigned char> wav;
    putTag(wav, "RIFF");
    put32(wav, 36 + frames * 2);
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1); // PCM
    put16(wav, 1); // mono
    put32(wav, rate);
    put32(wav, rate * 2);
    put16(wav, 2);
    put16(wav, 16);
    putTag(wav, "data");
    put32(wav, frames * 2);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double t = double(i) / rate;
        // Two tones that die away fast sound like a light click.
        const double envelope = std::exp(-t * 160.0);
        const double sample =
            envelope * (0.6 * std::sin(2 * pi * 2400 * t) + 0.3 * std::sin(2 * pi * 900 * t));
        put16(wav, std::uint16_t(std::int16_t(std::lround(sample * 12000))));
    }

    std::FILE *f = std::fopen(argv[1], "wb");
    if (!f)
        return 1;
    const bool ok = std::fwrite(wav.data(), 1, wav.size(), f) == wav.size();
    return std::fclose(f) == 0 && ok ? 0 : 1;
}
