// A test's program as tst_leftovers kills it mid-run: it starts chathost and
// zorvel through the tests' helpers, and a shell whose own child it never
// knows of, prints their process ids, then waits to be killed.
#include "tests/chathostprocess.h"
#include "tests/childprocess.h"
#include "tests/zorvelprocess.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    ChatHostProcess host;
    if (!host.start())
        return 1;
    ZorvelProcess zorvel;
    QProcess shell;
    diesWithTest(shell);
    shell.start(QStringLiteral("sh"),
                {QStringLiteral("-c"), QStringLiteral("sleep 120 & echo $!; wait")});
    if (!zorvel.process().waitForStarted() || !shell.waitForReadyRead(10000))
        return 1;
    std::printf("%lld %lld %s\n", host.pid(), zorvel.process().processId(),
                shell.readLine().trimmed().constData());
    std::fflush(stdout);
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    return app.exec();
}
