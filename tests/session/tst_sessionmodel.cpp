// The session model: each item keeps the exact text it is given and says so
// once, and the settings reader fills the style through it.
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

    // Every item, each set through the accessor a caller uses for it.
    static void set(SessionModel &model, Item item, const QString &text) {
        switch (item) {
        case Item::Hours:
            return model.setHours(text);
        case Item::Minutes:
            return model.setMinutes(text);
        case Item::MinutesUsed:
            return model.setMinutesUsed(text);
        case Item::PreviousLoads:
            return model.setPreviousLoads(text);
        case Item::FontFace:
            return model.setFontFace(text);
        default:
            return model.setText(item, text);
        }
    }

private Q_SLOTS:
    void eachItemKeepsItsTextAndSaysSoOnce_data() {
        QTest::addColumn<Item>("item");
        QTest::addColumn<QString>("text");
        // Texts as the program meets them: accents, blanks, a caption that
        // is no number, an empty one.
        QTest::newRow("style name") << Item::StyleName << QStringLiteral("nùvé");
        QTest::newRow("font colour") << Item::FontColour << QStringLiteral("00000C");
        QTest::newRow("ascii colour") << Item::AsciiColour << QStringLiteral(" 9900");
        QTest::newRow("front ascii") << Item::FrontAscii << QStringLiteral("/¯\\");
        QTest::newRow("middle ascii") << Item::MiddleAscii << QStringLiteral("·");
        QTest::newRow("back ascii") << Item::BackAscii << QStringLiteral("<b>x</b>");
        QTest::newRow("font face") << Item::FontFace << QStringLiteral("arial narrow");
        QTest::newRow("hours") << Item::Hours << QStringLiteral("12abc");
        QTest::newRow("minutes") << Item::Minutes << QStringLiteral("");
        QTest::newRow("minutes used") << Item::MinutesUsed << QStringLiteral("Label4");
        QTest::newRow("previous loads") << Item::PreviousLoads << QStringLiteral("3 ");
    }
    void eachItemKeepsItsTextAndSaysSoOnce() {
        QFETCH(Item, item);
        QFETCH(QString, text);
        SessionModel model;
        SessionModel untouched;
        QSignalSpy spy(&model, &SessionModel::changed);
        set(model, item, text);
        QCOMPARE(model.text(item), text);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<Item>(), item);
        QCOMPARE(spy.at(0).at(1).toString(), text);
        // No other item moved.
        for (int other = 0; other <= int(Item::PreviousLoads); ++other) {
            if (Item(other) != item)
                QCOMPARE(model.text(Item(other)), untouched.text(Item(other)));
        }
        // The same text again is no change.
        set(model, item, text);
        QCOMPARE(spy.count(), 1);
    }

    // The record's fields and the model's items are the same texts.
    void recordFieldsAreTheModelsItems_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<Item>("item");
        QTest::newRow("StyleName") << int(settings::Field::StyleName) << Item::StyleName;
        QTest::newRow("FontColour") << int(settings::Field::FontColour) << Item::FontColour;
        QTest::newRow("AsciiColour") << int(settings::Field::AsciiColour) << Item::AsciiColour;
        QTest::newRow("FrontAscii") << int(settings::Field::FrontAscii) << Item::FrontAscii;
        QTest::newRow("MiddleAscii") << int(settings::Field::MiddleAscii) << Item::MiddleAscii;
        QTest::newRow("BackAscii") << int(settings::Field::BackAscii) << Item::BackAscii;
    }
    void recordFieldsAreTheModelsItems() {
        QFETCH(int, field);
        QFETCH(Item, item);
        SessionModel model;
        settings::SettingsRecord &record = model;
        record.setCaption(settings::Field(field), QStringLiteral("field %1").arg(field));
        QCOMPARE(model.text(item), QStringLiteral("field %1").arg(field));
        model.setText(item, QStringLiteral("item"));
        QCOMPARE(record.caption(settings::Field(field)), QStringLiteral("item"));
    }

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
