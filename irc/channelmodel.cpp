#include "channelmodel.h"

#include "irc/ircmessage.h"

#include <algorithm>

namespace irc {

void ServerSupport::read(const IrcMessage &isupport) {
    for (const QByteArray &token : isupport.params) {
        if (token.startsWith("NICKLEN=")) {
            nickLength = std::max(1, token.mid(8).toInt());
        } else if (token.startsWith("PREFIX=(") && token.contains(')')) {
            const qsizetype close = token.indexOf(')');
            prefixModes = token.mid(8, close - 8);
            prefixes = QString::fromUtf8(token.mid(close + 1));
        } else if (token.startsWith("CHANMODES=")) {
            chanModes = token.mid(10).split(',');
            while (chanModes.size() < 4)
                chanModes.append(QByteArray());
        }
    }
}

bool ServerSupport::hasChannelMode(char mode) const {
    return std::any_of(chanModes.cbegin(), chanModes.cend(),
                       [&](const QByteArray &modes) { return modes.contains(mode); });
}

QString bareNick(const QString &entry, const ServerSupport &support) {
    qsizetype p = 0;
    while (p < entry.size() && support.prefixes.contains(entry[p]))
        ++p;
    return entry.mid(p);
}

void ChannelModel::sort() {
    std::sort(m_people.begin(), m_people.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

void ChannelModel::setPeople(const QStringList &people) {
    m_people = people;
    sort();
}

qsizetype ChannelModel::find(const QString &nick, const ServerSupport &support) const {
    const QByteArray folded = foldCase(nick.toUtf8());
    for (qsizetype i = 0; i < m_people.size(); ++i) {
        if (foldCase(bareNick(m_people[i], support).toUtf8()) == folded)
            return i;
    }
    return -1;
}

bool ChannelModel::addPerson(const QString &nick, const ServerSupport &support) {
    if (find(nick, support) >= 0)
        return false;
    m_people.append(nick);
    sort();
    return true;
}

bool ChannelModel::removePerson(const QString &nick, const ServerSupport &support) {
    const qsizetype at = find(nick, support);
    if (at < 0)
        return false;
    m_people.removeAt(at);
    return true;
}

bool ChannelModel::renamePerson(const QString &from, const QString &to,
                                const ServerSupport &support) {
    const qsizetype at = find(from, support);
    if (at < 0)
        return false;
    QString &entry = m_people[at];
    entry = entry.left(entry.size() - bareNick(entry, support).size()) + to;
    sort();
    return true;
}

bool ChannelModel::applyOne(char mode, bool plus, const QByteArray &argument,
                            const ServerSupport &support) {
    const qsizetype rank = support.prefixModes.indexOf(mode);
    if (rank >= 0 && rank < support.prefixes.size()) {
        const qsizetype at = find(QString::fromUtf8(argument), support);
        if (at < 0)
            return false;
        QString &entry = m_people[at];
        const QString nick = bareNick(entry, support);
        QString marks = entry.left(entry.size() - nick.size());
        const QChar mark = support.prefixes[rank];
        marks.remove(mark);
        if (plus)
            marks += mark;
        // The marks in the server's order, highest first.
        std::sort(marks.begin(), marks.end(), [&](QChar a, QChar b) {
            return support.prefixes.indexOf(a) < support.prefixes.indexOf(b);
        });
        entry = marks + nick;
        return true;
    }
    if (support.chanModes.value(0).contains(mode))
        return false; // lists (bans, ...): not kept
    if (plus)
        m_modes.insert(mode, argument);
    else
        m_modes.remove(mode);
    return false;
}

bool ChannelModel::applyModeChange(const QList<QByteArray> &modeAndParams,
                                   const ServerSupport &support) {
    bool peopleChanged = false;
    qsizetype next = 1;
    bool plus = true;
    for (const char mode : modeAndParams.value(0)) {
        if (mode == '+' || mode == '-') {
            plus = mode == '+';
            continue;
        }
        // Which modes take a parameter: prefixes, lists and B always, C when set.
        const bool takes = support.prefixModes.contains(mode) ||
                           support.chanModes.value(0).contains(mode) ||
                           support.chanModes.value(1).contains(mode) ||
                           (plus && support.chanModes.value(2).contains(mode));
        const QByteArray argument = takes ? modeAndParams.value(next++) : QByteArray();
        peopleChanged = applyOne(mode, plus, argument, support) || peopleChanged;
    }
    if (peopleChanged)
        sort();
    return peopleChanged;
}

void ChannelModel::setModes(const QList<QByteArray> &modeAndParams, const ServerSupport &support) {
    m_modes.clear();
    applyModeChange(modeAndParams, support);
}

QByteArray ChannelModel::modes() const {
    QByteArray letters;
    for (auto it = m_modes.cbegin(); it != m_modes.cend(); ++it)
        letters += it.key();
    std::sort(letters.begin(), letters.end());
    return letters.isEmpty() ? QByteArray() : '+' + letters;
}

bool ChannelModel::refusesColour(const ServerSupport &support) const {
    return std::any_of(m_modes.keyBegin(), m_modes.keyEnd(), [&](char mode) {
        return (mode == 'c' || mode == 'S') && support.hasChannelMode(mode);
    });
}

} // namespace irc
