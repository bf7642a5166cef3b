// The worst single settings access (one getFromIni or writeToIni, as the
// user-interface thread makes them) on settings files that are damaged or
// huge. Each access must leave the thread within a second.
#include "settings/settingsfile.h"
#include "tests/badfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

constexpr double kGoalMs = 1000.0;

struct BadFile {
    const char *name;
    std::function<QByteArray()> bytes;
};

// The keys every start, tick and style reads.
const char *const kKeys[] = {"font",    "preset", "pacolor", "pfascii",  "pbascii", "pmascii",
                             "pfcolor", "handle", "reason",  "lastidle", "minsused"};

QByteArray oneLine(qsizetype size) { return "[zorvel]\r\nPRESET=" + QByteArray(size, 'y'); }

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

double elapsedMs(const std::function<void()> &access) {
    QElapsedTimer timer;
    timer.start();
    access();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    const QString file = folder.filePath(QStringLiteral("zorvel.ini"));

    const BadFile files[] = {
        {"binary junk, 1 MB", [] { return badfiles::junk(1 << 20); }},
        {"100,000 sections", [] { return badfiles::manySections(100000); }},
        {"50 MB file", [] { return badfiles::bigFile(50 << 20); }},
        {"50 MB on one line", [] { return oneLine(50 << 20); }},
        {"50 MB of binary junk", [] { return badfiles::junk(50 << 20); }},
    };

    int missed = 0;
    std::printf("%-24s %12s %12s   goal     result\n", "settings file", "read (ms)", "write (ms)");
    for (const BadFile &bad : files) {
        const QByteArray bytes = bad.bytes();
        if (!writeFile(file, bytes))
            return 1;
        double worstRead = 0;
        for (const char *key : kKeys) {
            worstRead =
                std::max(worstRead, elapsedMs([&] {
                             settings::getFromIni(settings::kSection, QLatin1String(key), file);
                         }));
        }
        // A write that changes the file, and one that finds nothing to change.
        double worstWrite = 0;
        for (const char *value : {"changed", "changed"}) {
            worstWrite =
                std::max(worstWrite, elapsedMs([&] {
                             settings::writeToIni(settings::kSection, QStringLiteral("reason"),
                                                  QLatin1String(value), file);
                         }));
        }
        const double worst = std::max(worstRead, worstWrite);
        const bool pass = worst <= kGoalMs;
        missed += pass ? 0 : 1;
        std::printf("%-24s %12.1f %12.1f   <= 1 s   %s\n", bad.name, worstRead, worstWrite,
                    pass ? "pass" : "miss");
        std::fflush(stdout);
    }
    std::printf("worst single settings access per file; %d of %d files missed the goal\n", missed,
                int(std::size(files)));
    std::printf("rerun: %s\n", qPrintable(QCoreApplication::applicationFilePath()));
    return missed == 0 ? 0 : 1;
}
