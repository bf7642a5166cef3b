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

    // The player reaches the embedded sound and Qt Multimedia decodes it: a
    // click that never loads would be silent without a word.
    void theClickSoundLoads() {
        platform::playSoundAsync(app::clickSoundPath());
        auto *player = QCoreApplication::instance()->findChild<QSoundEffect *>();
        QVERIFY(player);
        QTRY_VERIFY_WITH_TIMEOUT(player->status() != QSoundEffect::Loading &&
                                     player->status() != QSoundEffect::Null,
                                 10000);
        QCOMPARE(player->status(), QSoundEffect::Ready);
    }

    void silentOnWhatItCannotPlay_data() {
        QTest::addColumn<QString>("path");
        const QString root = m_env.root();
        QFile text(root + QStringLiteral("/notes.wav"));
        if (text.open(QIODevice::WriteOnly))
            text.write("this is not a sound\n");
        QTest::newRow("missing file") << root + QStringLiteral("/missing.wav");
        QTest::newRow("a directory") << root;
        QTest::newRow("not a WAV") << root + QStringLiteral("/notes.wav");
        QTest::newRow("empty path") << QString();
        QTest::newRow("a resource that is not there") << QStringLiteral(":/sounds/none.wav");
        QTest::newRow("the click sound") << app::clickSoundPath();
    }
    void silentOnWhatItCannotPlay() {
        QFETCH(QString, path);
        QElapsedTimer call;
        call.start();
        app::playWav(path);
        // It returns at once (the bound only catches a call that waits for
        // the sound or the device), and what loads in the background must not
        // bring the program down.
        QVERIFY(call.elapsed() < 1000);
        QTest::qWait(200);
        QVERIFY(QCoreApplication::instance());
    }
};

QTEST_MAIN(TestPlayWav)
#include "tst_playwav.moc"
