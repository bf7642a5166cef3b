// The click sound: made by the build and carried by the program, and playWav
// silent on anything it cannot play, without holding up the caller.
#include "app/playwav.h"
#include "platform/sound.h"
#include "tests/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>

class TestPlayWav : public QObject {
    Q_OBJECT
    TestEnv m_env;

private Q_SLOTS:
    void theProgramCarriesItsClickSound() {
        QFile wav(app::clickSoundPath());
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray bytes = wav.readAll();
        QVERIFY(bytes.startsWith("RIFF"));
        QCOMPARE(bytes.mid(8, 8), QByteArray("WAVEfmt "));
        // A click, not a tune: well under a tenth of a second of 16-bit mono at 22050 Hz.
        QVERIFY(bytes.size() > 44 && bytes.size() < 44 + 22050 * 2 / 10);
    }

    // What playWav cannot play never reaches the player, but for a file
    // that only its decoder can refuse, which then stays silent; the click
    // sound reaches it and Qt Multimedia decodes it (a click that never
    // loads would be silent without a word). Either way the call returns
    // at once (the bound only catches a call that waits for the sound).
    void onlyWhatItCanPlayIsPlayed_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("reachesPlayer");
        QTest::addColumn<QSoundEffect::Status>("status");
        const QString root = m_env.root();
        QFile text(root + QStringLiteral("/notes.wav"));
        if (text.open(QIODevice::WriteOnly))
            text.write("this is not a sound\n");
        const auto none = QSoundEffect::Null;
        QTest::newRow("missing file") << root + QStringLiteral("/missing.wav") << false << none;
        QTest::newRow("a directory") << root << false << none;
        QTest::newRow("empty path") << QString() << false << none;
        QTest::newRow("a resource that is not there")
            << QStringLiteral(":/sounds/none.wav") << false << none;
        QTest::newRow("not a WAV")
            << root + QStringLiteral("/notes.wav") << true << QSoundEffect::Error;
        QTest::newRow("the click sound") << app::clickSoundPath() << true << QSoundEffect::Ready;
    }
    void onlyWhatItCanPlayIsPlayed() {
        QFETCH(QString, path);
        QFETCH(bool, reachesPlayer);
        QFETCH(QSoundEffect::Status, status);
        QElapsedTimer call;
        call.start();
        app::playWav(path);
        QVERIFY(call.elapsed() < 1000);
        auto *player = QCoreApplication::instance()->findChild<QSoundEffect *>();
        const QUrl url =
            path.startsWith(u':') ? QUrl(QStringLiteral("qrc") + path) : QUrl::fromLocalFile(path);
        if (!reachesPlayer) {
            QVERIFY(!player || player->source() != url);
            return;
        }
        QVERIFY(player);
        QCOMPARE(player->source(), url);
        QTRY_VERIFY_WITH_TIMEOUT(player->status() != QSoundEffect::Loading &&
                                     player->status() != QSoundEffect::Null,
                                 10000);
        QCOMPARE(player->status(), status);
    }
};

QTEST_MAIN(TestPlayWav)
#include "tst_playwav.moc"
