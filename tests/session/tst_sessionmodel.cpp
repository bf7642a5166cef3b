// The session model as the settings reader fills it: each key of the file
// into its own item (the record's fields and the model's items are one), the
// exact text kept, and only what changed said.
#include "session/sessionmodel.h"
#include "settings/settingsfile.h"
#include "tests/testenv.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using session::SessionModel;
using Item = SessionModel::Item;

class TestSessionModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The settings reader fills the model in its order, each key into its
    // own item, and only what changed is said.
    void settingsReaderFillsTheModel() {
        TestEnv env;
        settings::ensureSettingsFolder();
        QFile file(settings::settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[zorvel]\r\nFONT=Courier\r\nPRESET=n\xf9v\xe9\r\nPACOLOR=009900\r\n"
                   "PFASCII=<\r\nPBASCII=>\r\nPMASCII=-:-\r\nPFCOLOR=00000C\r\n");
        file.close();

        SessionModel model;
        model.setCaption(settings::Field::FrontAscii, QStringLiteral("<"));
        QSignalSpy spy(&model, &SessionModel::changed);
        settings::reloadSettings(model);

        QList<Item> said;
        for (const QList<QVariant> &change : spy)
            said << change.at(0).value<Item>();
        QCOMPARE(said, QList<Item>({Item::FontFace, Item::StyleName, Item::AsciiColour,
                                    Item::BackAscii, Item::MiddleAscii, Item::FontColour}));
        QCOMPARE(model.fontFace(), QStringLiteral("Courier"));
        QCOMPARE(model.text(Item::StyleName), QStringLiteral("nùvé"));
        QCOMPARE(model.text(Item::AsciiColour), QStringLiteral("009900"));
        QCOMPARE(model.text(Item::FrontAscii), QStringLiteral("<"));
        QCOMPARE(model.text(Item::BackAscii), QStringLiteral(">"));
        QCOMPARE(model.text(Item::MiddleAscii), QStringLiteral("-:-"));
        QCOMPARE(model.text(Item::FontColour), QStringLiteral("00000C"));
    }
};

QTEST_GUILESS_MAIN(TestSessionModel)
#include "tst_sessionmodel.moc"
