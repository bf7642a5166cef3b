#include "chathostmain.h"

#include "displayserver.h"
#include "termination.h"
#include "version.h"

#include "cp1252.h"
#include "echoprinter.h"
#include "hostnetworks.h"
#include "hostoptions.h"
#include "hostservice.h"
#include "hostwindow.h"
#include "transcriptlog.h"
#include "windowtree.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace chathost {

namespace {

void printTo(std::FILE *out, const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out);
    std::fflush(out);
}

int ping() {
    QString message;
    const bool answers = pingHost(&message);
    printTo(stdout, message);
    return answers ? 0 : 1;
}

// For tests of clients facing a hung chat client: the window thread stops
// (answers no message and no request) for a while, then goes on.
void stallWindowThread() { std::this_thread::sleep_for(std::chrono::seconds(60)); }

} // namespace

int runChatHost(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QString error;
    bool help = false;
    const std::optional<HostOptions> options = parseHostOptions(arguments, &error, &help);
    if (help) {
        printTo(stdout, usageText());
        return 0;
    }
    if (!options) {
        printTo(stderr, QStringLiteral("chathost: %1\nTry chathost --help.\n").arg(error));
        return 2;
    }

    if (options->version) {
        printTo(stdout, QStringLiteral("chathost " ZORVEL_VERSION "\n"));
        return 0;
    }
    if (options->ping)
        return ping();

    // Whatever the command line names for the networks is read before any window.
    HostOptions host = *options;
    const std::unique_ptr<HostNetworks> networks = prepareHostNetworks(host, &error);
    if (!networks) {
        printTo(stderr, QStringLiteral("chathost: %1\n").arg(error));
        return 2;
    }

    platform::chooseDisplayServer();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chathost"));

    WindowTree tree;
    const std::unique_ptr<HostService> service = createHostService(tree);
    if (!service->start(&error)) {
        printTo(stderr, error + u'\n');
        return 1;
    }

    TranscriptLog transcript;
    if (!options->transcriptPath.isEmpty() && !transcript.open(options->transcriptPath, &error)) {
        printTo(stderr, QStringLiteral("chathost: cannot write the transcript %1: %2\n")
                            .arg(options->transcriptPath, error));
        return 1;
    }
    std::unique_ptr<EchoPrinter> echo;
    if (options->echo)
        echo = std::make_unique<EchoPrinter>(stdout);

    HostWindow window(host, tree);
    int posted = 0;
    QObject::connect(&window, &HostWindow::posted, &window,
                     [&](const QString &room, const QString &line) {
                         transcript.write(room, platform::toCp1252(line));
                         if (echo)
                             echo->print(room, host.screenName, line);
                         // At once: a message already waiting would be
                         // taken before any timer.
                         if (++posted == options->stallAfterLines)
                             stallWindowThread();
                     });
    window.show();
    // Declared after the window, so it goes first: it holds the window's rooms.
    const std::unique_ptr<QObject> channels = networks->join(window, *service, echo.get());
    if (options->stallAfterLines == 0)
        QTimer::singleShot(0, &window, stallWindowThread);
    // Ctrl-C or a TERM ends the event loop, so the socket and lock are cleaned up.
    platform::watchTermination(&app, [] { QCoreApplication::quit(); });
    printTo(stderr, QStringLiteral("chathost: serving %1\n").arg(service->where()));
    return app.exec();
}

} // namespace chathost
