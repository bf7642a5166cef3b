#include "channelmodel.h"

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
        } else if (token.startsWith("CASEMAPPING=")) {
            // Anything newer (rfc7613) folds at least ASCII.
            const QByteArray name = token.mid(12).toLower();
            caseMapping = name == "rfc1459"          ? CaseMapping::Rfc1459
                          : name == "strict-rfc1459" ? CaseMapping::StrictRfc1459
                                                     : CaseMapping::Ascii;
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

namespace {

bool before(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; }

QByteArray nickKey(const QString &nick) { return foldCase(nick.toUtf8()); }

} // namespace

void ChannelModel::setPeople(const QStringList &people, const ServerSupport &support) {
    m_people.clear();
    m_byNick.clear();
    for (const QString &entry : people.first(std::min(people.size(), kMaxPeople))) {
        const QByteArray key = nickKey(bareNick(entry, support));
        if (!m_byNick.contains(key)) {
            m_byNick.insert(key, entry);
            m_people.append(entry);
        }
    }
    std::sort(m_people.begin(), m_people.end(), before);
}

qsizetype ChannelModel::find(const QString &nick) const {
    const auto found = m_byNick.constFind(nickKey(nick));
    if (found == m_byNick.cend())
        return -1;
    auto at = std::lower_bound(m_people.cbegin(), m_people.cend(), found.value(), before);
    while (at != m_people.cend() && *at != found.value())
        ++at; // past entries that differ only in case
    return at == m_people.cend() ? -1 : at - m_people.cbegin();
}

void ChannelModel::insert(const QString &entry, const ServerSupport &support) {
    m_byNick.insert(nickKey(bareNick(entry, support)), entry);
    m_people.insert(std::upper_bound(m_people.cbegin(), m_people.cend(), entry, before), entry);
}

void ChannelModel::removeAt(qsizetype at, const ServerSupport &support) {
    m_byNick.remove(nickKey(bareNick(m_people[at], support)));
    m_people.removeAt(at);
}

bool ChannelModel::addPerson(const QString &nick, const ServerSupport &support) {
    if (find(nick) >= 0 || m_people.size() >= kMaxPeople)
        return false;
    insert(nick, support);
    return true;
}

bool ChannelModel::removePerson(const QString &nick, const ServerSupport &support) {
    const qsizetype at = find(nick);
    if (at < 0)
        return false;
    removeAt(at, support);
    return true;
}

bool ChannelModel::renamePerson(const QString &from, const QString &to,
                                const ServerSupport &support) {
    const qsizetype at = find(from);
    if (at < 0)
        return false;
    const QString entry = m_people[at];
    removeAt(at, support);
    insert(entry.left(entry.size() - bareNick(entry, support).size()) + to, support);
    return true;
}

bool ChannelModel::applyOne(char mode, bool plus, const QByteArray &argument,
                            const ServerSupport &support) {
    const qsizetype rank = support.prefixModes.indexOf(mode);
    if (rank >= 0 && rank < support.prefixes.size()) {
        const qsizetype at = find(QString::fromUtf8(argument));
        if (at < 0)
            return false;
        QString entry = m_people[at];
        removeAt(at, support);
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
        insert(marks + nick, support);
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
