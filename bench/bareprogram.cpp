// The reference for start-up and memory: a bare Qt Widgets program that shows
// one label and quits once the label has been painted. With --stay it prints
// "shown" instead and lives on until its standard input closes, so its
// resident memory can be read.
#include <QApplication>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {
class OneLabel final : public QLabel {
public:
    explicit OneLabel(bool stay) : QLabel(QStringLiteral("bare")), m_stay(stay) {}

protected:
    void paintEvent(QPaintEvent *event) override {
        QLabel::paintEvent(event);
        if (m_painted)
            return;
        m_painted = true;
        if (!m_stay) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
            return;
        }
        std::printf("shown\n");
        std::fflush(stdout);
    }

private:
    bool m_stay;
    bool m_painted = false;
};
} // namespace

int main(int argc, char **argv) {
    const bool stay = argc > 1 && std::strcmp(argv[1], "--stay") == 0;
    QApplication application(argc, argv);
    OneLabel label(stay);
    label.show();
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(stay);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            QApplication::quit();
    });
    return QApplication::exec();
}
