#include "chathostmain.h"

#include "termination.h"

#include "cp1252.h"
#include "echoprinter.h"
#include "hostoptions.h"
#include "hostserver.h"
#include "hostwindow.h"
#include "requesthandler.h"
#include "transcriptlog.h"
#include "windowsystem_unix.h"
#include "windowtree.h"

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <memory>

namespace chathost {

namespace {

void printTo(std::FILE *out, const QString &text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out);
    std::fflush(out);
}

int ping() {
    const QString path = platform::chatwire::socketPath();
    platform::UnixWindowSystem host(path, std::chrono::seconds(1));
    const std::int64_t pid = host.hostPid();
    if (pid == 0) {
        printTo(stdout, QStringLiteral("chathost: none answers on %1\n").arg(path));
        return 1;
    }
    printTo(stdout, QStringLiteral("chathost: running (pid %1) on %2\n").arg(pid).arg(path));
    return 0;
}

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

    if (options->ping)
        return ping();

    // A client, or a reader of --echo, that goes away must not take chathost with it.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("chathost"));

    WindowTree tree;
    RequestHandler handler(tree);
    HostServer server(handler);
    if (!server.start(&error)) {
        printTo(stderr, error + '\n');
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

    HostWindow window(*options, tree);
    QObject::connect(&window, &HostWindow::posted, &window,
                     [&](const QString &room, const QString &line) {
                         transcript.write(room, platform::toCp1252(line));
                         if (echo)
                             echo->print(room, options->screenName, line);
                     });
    window.show();
    // Ctrl-C or a TERM ends the event loop, so the socket and lock are cleaned up.
    platform::watchTermination(&app, [] { QCoreApplication::quit(); });
    printTo(stderr, QStringLiteral("chathost: serving %1\n").arg(server.socketPath()));
    return app.exec();
}

} // namespace chathost
