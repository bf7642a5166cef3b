#pragma once

#include "settings/settingsrecord.h"

#include <QObject>
#include <QString>

namespace session {

// What the program knows while it runs: the style in effect (the six fields
// of the settings record and the font face), the idle clock, the minutes used
// and the previous load count. Each is kept as the exact text the program
// works with, since the lines carry it as it stands: a count may hold
// "Label4", "12abc" or "". The main strip only shows it; the windows and the
// line builders read and change it here, through one reference.
class SessionModel final : public QObject, public settings::SettingsRecord {
    Q_OBJECT
public:
    enum class Item {
        StyleName,
        FontColour,
        AsciiColour,
        FrontAscii,
        MiddleAscii,
        BackAscii,
        FontFace,
        Hours,         // the idle clock's hours, "0" at the start
        Minutes,       // the idle clock's minutes, "00" at the start
        MinutesUsed,   // minutes since the start, "0" at the start
        PreviousLoads, // the load count before this one, "Label4" until it is known
    };
    Q_ENUM(Item)

    explicit SessionModel(QObject *parent = nullptr);

    QString text(Item item) const;
    // Changes the text; changed() follows only when the text is a new one.
    void setText(Item item, const QString &text);

    // The style record's view of the same texts.
    static Item itemOf(settings::Field field);
    QString caption(settings::Field field) const override { return text(itemOf(field)); }
    void setCaption(settings::Field field, const QString &text) override {
        setText(itemOf(field), text);
    }
    void setFontFace(const QString &face) override { setText(Item::FontFace, face); }

    QString fontFace() const { return text(Item::FontFace); }
    QString hours() const { return text(Item::Hours); }
    QString minutes() const { return text(Item::Minutes); }
    QString minutesUsed() const { return text(Item::MinutesUsed); }
    QString previousLoads() const { return text(Item::PreviousLoads); }
    void setHours(const QString &hours) { setText(Item::Hours, hours); }
    void setMinutes(const QString &minutes) { setText(Item::Minutes, minutes); }
    void setMinutesUsed(const QString &minutes) { setText(Item::MinutesUsed, minutes); }
    void setPreviousLoads(const QString &loads) { setText(Item::PreviousLoads, loads); }

Q_SIGNALS:
    void changed(session::SessionModel::Item item, const QString &text);

private:
    static constexpr int kItemCount = int(Item::PreviousLoads) + 1;
    QString m_texts[kItemCount];
};

} // namespace session
