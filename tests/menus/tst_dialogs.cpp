// The platform's dialogs behind the wrapper: an input prompt with the prompt
// text alone under the application's title, message boxes with their icons;
// and the script that answers them in tests.
#include "menus/dialogs.h"
#include "tests/testenv.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace menus::dialogs;
using namespace Qt::StringLiterals;

namespace {
// Acts on the modal dialog once it is up; a dialog the action does not
// expect is still closed, so a failing test does not hang.
void whenModal(std::function<void(QWidget *)> act, int triesLeft = 500) {
    QTimer::singleShot(10, [act, triesLeft] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal && triesLeft > 0)
            return whenModal(act, triesLeft - 1);
        act(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog->isVisible())
            dialog->reject();
    });
}
} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
    std::unique_ptr<TestEnv> m_env;

private Q_SLOTS:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("zorvel")); }
    void init() {
        m_env = std::make_unique<TestEnv>();
        useRealDialogs();
    }
    void cleanup() {
        resetScript();
        m_env.reset();
    }

    void promptAnswered_data() {
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer");
        QTest::newRow("answered") << true << "  brb <b>  "
                                  << "  brb <b>  ";
        QTest::newRow("answered with nothing") << true << ""
                                               << "";
        QTest::newRow("cancelled") << false << "typed, then cancelled"
                                   << "";
    }
    void promptAnswered() {
        QFETCH(bool, accept);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QString title, label, startText;
        bool wasInput = false;
        whenModal([&](QWidget *modal) {
            auto *input = qobject_cast<QInputDialog *>(modal);
            wasInput = input != nullptr;
            if (!input)
                return;
            title = input->windowTitle();
            label = input->labelText();
            startText = input->textValue();
            input->setTextValue(typed);
            accept ? input->accept() : input->reject();
        });
        QCOMPARE(askText(QStringLiteral("What is your Handle?")), answer);
        QVERIFY(wasInput);
        QCOMPARE(title, QStringLiteral("zorvel"));
        QCOMPARE(label, QStringLiteral("What is your Handle?"));
        QCOMPARE(startText, QString()); // no default answer
    }

    void messageBoxes_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("platformIcon");
        QTest::addColumn<QString>("shownTitle");
        QTest::newRow("information, no title of its own")
            << int(Icon::Information) << "" << int(QMessageBox::Information) << "zorvel";
        QTest::newRow("exclamation with its title")
            << int(Icon::Exclamation) << "yø!" << int(QMessageBox::Warning) << "yø!";
    }
    void messageBoxes() {
        QFETCH(int, icon);
        QFETCH(QString, title);
        QFETCH(int, platformIcon);
        QFETCH(QString, shownTitle);
        QMessageBox::Icon seenIcon = QMessageBox::NoIcon;
        QString seenTitle, seenText;
        int buttons = 0;
        whenModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return;
            seenIcon = box->icon();
            seenTitle = box->windowTitle();
            seenText = box->text();
            buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
        });
        showMessage(QStringLiteral("peace out"), Icon(icon), title);
        QCOMPARE(int(seenIcon), platformIcon);
        QCOMPARE(seenTitle, shownTitle);
        QCOMPARE(seenText, QStringLiteral("peace out"));
        QCOMPARE(buttons, 1);
    }

    void scriptAnswersInTurn() {
        resetScript();
        setNextAnswer(QStringLiteral("one"));
        setNextAnswer(QString());
        QStringList seenWhileUp;
        setWhileShown([&](const Shown &s) { seenWhileUp << s.text; });
        QCOMPARE(askText(QStringLiteral("first?")), QStringLiteral("one"));
        showMessage(QStringLiteral("note"), Icon::Exclamation, QStringLiteral("t"));
        QCOMPARE(askText(QStringLiteral("second?")), QString());
        QCOMPARE(askText(QStringLiteral("third?")), QString()); // none left: as cancelled
        QCOMPARE(seenWhileUp, QStringList({u"first?"_s, u"note"_s, u"second?"_s, u"third?"_s}));
        const QList<Shown> shown = menus::dialogs::shown();
        QCOMPARE(shown.size(), 4);
        QVERIFY(shown.at(0).prompt && !shown.at(1).prompt);
        QCOMPARE(shown.at(1).icon, Icon::Exclamation);
        QCOMPARE(shown.at(1).title, QStringLiteral("t"));
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
