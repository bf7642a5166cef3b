#include "chathostmain.h"

#include "platform/displayserver.h"
#include "platform/termination.h"
#include "version.h"

#include "chathost/echoprinter.h"
#include "chathost/hostnetworks.h"
#include "chathost/hostoptions.h"
#include "chathost/hostservice.h"
#include "chathost/hostusage.h"
#include "chathost/hostwindow.h"
#include "chathost/storedpassword.h"
#include "chathost/transcriptlog.h"
#include "chathost/windowtree.h"
#include "platform/cp1252.h"

#include <QApplication>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
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

QStringList argumentsOf(int argc, char **argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// The options of a chathost that is to start. Nothing, with the exit status,
// when the command line is answered at once: help, the version, a ping or a
// mistake.
std::optional<HostOptions> optionsToStart(int argc, char **argv, int *exitStatus) {
    QString error;
    bool help = false;
    const std::optional<HostOptions> options =
        parseHostOptions(argumentsOf(argc, argv), &error, &help);
    *exitStatus = 0;
    if (help) {
        printTo(stdout, usageText());
        return std::nullopt;
    }
    if (!options) {
        printTo(stderr, QStringLiteral("chathost: %1\nTry chathost --help.\n").arg(error));
        *exitStatus = 2;
        return std::nullopt;
    }
    if (options->version) {
        printTo(stdout, QStringLiteral("chathost " ZORVEL_VERSION "\n"));
        return std::nullopt;
    }
    if (options->ping) {
        *exitStatus = ping();
        return std::nullopt;
    }
    if (!options->storePasswordFor.isNull()) {
        QString message;
        *exitStatus = storeNetworkPassword(options->storePasswordFor, &message);
        printTo(*exitStatus == 0 ? stdout : stderr, QStringLiteral("chathost: %1\n").arg(message));
        return std::nullopt;
    }
    return options;
}

// Each posted line goes to the transcript and the echo, in the order posted.
void recordPosts(HostWindow &window, TranscriptLog &transcript, EchoPrinter *echo,
                 const HostOptions &host) {
    QObject::connect(&window, &HostWindow::posted, &window,
                     [&transcript, echo, screenName = host.screenName,
                      stallAfterLines = host.stallAfterLines,
                      posted = 0](const QString &room, const QString &line) mutable {
                         transcript.write(room, platform::toCp1252(line));
                         if (echo)
                             echo->print(room, screenName, line);
                         // At once: a message already waiting would be
                         // taken before any timer.
                         if (++posted == stallAfterLines)
                             stallWindowThread();
                     });
}

// Serves the rooms until the event loop ends; the exit status.
int serve(QApplication &app, const HostOptions &host, HostNetworks &networks) {
    QString error;
    WindowTree tree;
    const std::unique_ptr<HostService> service = createHostService(tree);
    if (!service->start(&error)) {
        printTo(stderr, error + QLatin1Char('\n'));
        return 1;
    }
    TranscriptLog transcript;
    if (!host.transcriptPath.isEmpty() && !transcript.open(host.transcriptPath, &error)) {
        printTo(stderr, QStringLiteral("chathost: cannot write the transcript %1: %2\n")
                            .arg(host.transcriptPath, error));
        return 1;
    }
    std::unique_ptr<EchoPrinter> echo;
    if (host.echo)
        echo = std::make_unique<EchoPrinter>(stdout);

    HostWindow window(host, tree);
    recordPosts(window, transcript, echo.get(), host);
    window.show();
    // Declared after the window, so it goes first: it holds the window's rooms.
    const std::unique_ptr<QObject> channels = networks.join(window, tree, *service, echo.get());
    if (host.stallAfterLines == 0)
        QTimer::singleShot(0, &window, stallWindowThread);
    // Ctrl-C or a TERM ends the event loop, so the socket and lock are cleaned up.
    platform::watchTermination(&app, [] { QCoreApplication::quit(); });
    printTo(stderr, QStringLiteral("chathost: serving %1\n").arg(service->where()));
    return app.exec();
}

} // namespace

int runChatHost(int argc, char **argv) {
    int exitStatus = 0;
    const std::optional<HostOptions> options = optionsToStart(argc, argv, &exitStatus);
    if (!options)
        return exitStatus;

    // Whatever the command line names for the networks is read before any window.
    HostOptions host = *options;
    QString error;
    const std::unique_ptr<HostNetworks> networks = prepareHostNetworks(host, &error);
    if (!networks) {
        printTo(stderr, QStringLiteral("chathost: %1\n").arg(error));
        return 2;
    }

    platform::chooseDisplayServer();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chathost"));
    return serve(app, host, *networks);
}

} // namespace chathost
