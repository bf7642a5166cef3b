#include "platform/sound.h"

#include <QCoreApplication>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

namespace {
// One effect, owned by the application: it must outlive the call to be
// heard, and loading the same file for every click is wasted work.
class Player final : public QSoundEffect {
public:
    Player() : QSoundEffect(QCoreApplication::instance()) {
        connect(this, &QSoundEffect::statusChanged, this, [this] {
            // A file still loading when asked for plays as soon as it is ready.
            if (status() == Ready && m_pending) {
                m_pending = false;
                QSoundEffect::play();
            }
        });
    }
    void playFile(const QString &path) {
        // A path in the program's resources (":/...") is reached as a qrc URL.
        const QUrl url = path.startsWith(QLatin1String(":/")) ? QUrl(QLatin1String("qrc") + path)
                                                              : QUrl::fromLocalFile(path);
        if (source() != url)
            setSource(url);
        m_pending = status() != Ready; // a file that fails to load stays silent
        if (!m_pending)
            QSoundEffect::play();
    }

private:
    bool m_pending = false;
};
} // namespace

void playSoundAsync(const QString &path) {
    if (!QCoreApplication::instance())
        return;
    static Player *player = new Player;
    player->playFile(path);
}

} // namespace platform
