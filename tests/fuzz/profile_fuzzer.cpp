// The profile reader and writer against any file and any call.
//
// Input: four lines, then the file's bytes. The first line's first byte picks
// the call: g get, k list keys, s list sections, w write, d delete the key,
// D delete the section, b get and list keys into a buffer of 1 to 16 bytes
// (sized by the line's second byte); any other byte picks one too.
// the next three are the section, the key and the value, each cut at a NUL
// as a C string is.

#include "platform/profile.h"
#include "platform/profiledocument.h"
#include "settings/settingsfile.h"
#include "tests/fuzz/fuzzcheck.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// What the program's own reads ask for: 749 characters and a NUL.
constexpr int kBufferSize = 750;

enum Call { GetValue, ListKeys, ListSections, WriteKey, DeleteKey, DeleteSection, SmallBuffer };
constexpr int kCalls = 7;
constexpr const char *kCallLetters = "gkswdDb"; // in the order of Call

struct Input {
    int call = GetValue;
    int smallSize = 1;
    QByteArray section, key, value, file;
};

Input parseInput(const std::uint8_t *data, std::size_t size) {
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QByteArray> fields;
    for (int i = 0; i < 4; ++i) {
        const qsizetype end = bytes.indexOf('\n');
        fields.append(end < 0 ? bytes : bytes.left(end));
        bytes = end < 0 ? QByteArray() : bytes.mid(end + 1);
    }
    Input input;
    if (!fields[0].isEmpty()) {
        const char *letter = std::strchr(kCallLetters, fields[0][0]);
        input.call = letter && *letter ? int(letter - kCallLetters) : uchar(fields[0][0]) % kCalls;
    }
    input.smallSize = fields[0].size() > 1 ? 1 + uchar(fields[0][1]) % 16 : 1;
    // A C string ends at its first NUL.
    input.section = QByteArray(fields[1].constData());
    input.key = QByteArray(fields[2].constData());
    input.value = QByteArray(fields[3].constData());
    input.file = bytes;
    return input;
}

// A folder in memory where there is one: each run writes the file afresh.
const QString &workFile() {
    static const auto folder = [] {
        auto inMemory =
            std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/zorvel-fuzz-XXXXXX"));
        return inMemory->isValid() ? std::move(inMemory) : std::make_unique<QTemporaryDir>();
    }();
    fuzzCheck(folder->isValid(), "a temporary folder is made");
    static const QString file = folder->filePath(QStringLiteral("zorvel.ini"));
    return file;
}

// A read into a buffer of exactly `size` bytes, so that a write past it is
// caught; the result and its terminating NUL are checked.
int checkedRead(const char *section, const char *key, int size) {
    const auto buffer = std::make_unique<char[]>(std::size_t(size));
    std::memset(buffer.get(), 'x', std::size_t(size));
    const int copied = platform::getPrivateProfileString(section, key, "default  ", buffer.get(),
                                                         size, workFile());
    fuzzCheck(copied >= 0 && copied <= size - 1, "a read copies at most size - 1 bytes");
    fuzzCheck(buffer[std::size_t(copied)] == '\0', "a read ends in a NUL");
    if (section && key)
        fuzzCheck(std::strlen(buffer.get()) == std::size_t(copied),
                  "a value holds no NUL before its end");
    return copied;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const Input input = parseInput(data, size);

    // Kept line by line: a file read and written again, untouched, is the same bytes.
    fuzzCheck(platform::ProfileDocument(input.file).toBytes() == input.file,
              "a document gives back the bytes it was made from");

    const QString &file = workFile();
    {
        QFile out(file);
        fuzzCheck(out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                      out.write(input.file) == input.file.size(),
                  "the work file is written");
    }
    const char *section = input.section.constData();
    const char *key = input.key.constData();
    const char *value = input.value.constData();

    switch (input.call) {
    case GetValue:
        checkedRead(section, key, kBufferSize);
        break;
    case ListKeys:
        checkedRead(section, nullptr, kBufferSize);
        break;
    case ListSections:
        checkedRead(nullptr, nullptr, kBufferSize);
        break;
    case WriteKey:
    case DeleteKey:
    case DeleteSection: {
        const bool written = platform::writePrivateProfileString(
            section, input.call == DeleteSection ? nullptr : key,
            input.call == WriteKey ? value : nullptr, file);
        fuzzCheck(written, "a write to a writable folder succeeds");
        checkedRead(section, key, kBufferSize);
        break;
    }
    case SmallBuffer:
        checkedRead(section, key, input.smallSize);
        checkedRead(section, nullptr, input.smallSize);
        break;
    }

    // The program's own reader: never more than 749 characters.
    const QString read = settings::getFromIni(QString::fromLatin1(input.section),
                                              QString::fromLatin1(input.key), file);
    fuzzCheck(read.size() <= 749, "getFromIni gives at most 749 characters");
    return 0;
}
