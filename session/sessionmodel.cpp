#include "sessionmodel.h"

namespace session {

SessionModel::SessionModel(QObject *parent) : QObject(parent) {
    m_texts[int(Item::Hours)] = QStringLiteral("0");
    m_texts[int(Item::Minutes)] = QStringLiteral("00");
    m_texts[int(Item::MinutesUsed)] = QStringLiteral("0");
    m_texts[int(Item::PreviousLoads)] = QStringLiteral("Label4");
}

QString SessionModel::text(Item item) const { return m_texts[int(item)]; }

void SessionModel::setText(Item item, const QString &text) {
    QString &held = m_texts[int(item)];
    if (held == text)
        return;
    held = text;
    Q_EMIT changed(item, text);
}

SessionModel::Item SessionModel::itemOf(settings::Field field) {
    switch (field) {
    case settings::Field::StyleName:
        return Item::StyleName;
    case settings::Field::FontColour:
        return Item::FontColour;
    case settings::Field::AsciiColour:
        return Item::AsciiColour;
    case settings::Field::FrontAscii:
        return Item::FrontAscii;
    case settings::Field::MiddleAscii:
        return Item::MiddleAscii;
    case settings::Field::BackAscii:
        break;
    }
    return Item::BackAscii;
}

} // namespace session
