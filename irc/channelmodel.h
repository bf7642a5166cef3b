#pragma once

#include "irc/ircmessage.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace irc {

// What a server says of itself in its 005 lines, for one connection: the
// nick length, the status prefixes of people in a channel and their modes,
// which channel modes take a parameter, and how nicks compare.
struct ServerSupport {
    int nickLength = 9;
    QByteArray prefixModes = "qaohv";
    QString prefixes = QStringLiteral("~&@%+");
    // CHANMODES: list modes (A), modes with a parameter always (B), with one
    // when set (C), and flags (D).
    QList<QByteArray> chanModes = {"b", "k", "l", "imnpst"};
    CaseMapping caseMapping = CaseMapping::Rfc1459;

    void read(const IrcMessage &isupport);
    // Whether the server has the channel mode at all.
    bool hasChannelMode(char mode) const;
};

// One joined channel: who is in it (with their status prefixes), its modes
// and its topic.
class ChannelModel {
public:
    // More people than any real channel has; past it a server's list is not kept.
    static constexpr qsizetype kMaxPeople = 100'000;

    // The people, sorted by nick, case ignored, each with its prefixes ("@op").
    QStringList people() const { return m_people; }
    void setPeople(const QStringList &people, const ServerSupport &support);
    // False when the nick was listed already (or the list is full).
    bool addPerson(const QString &nick, const ServerSupport &support);
    // False when the nick was not listed.
    bool removePerson(const QString &nick, const ServerSupport &support);
    bool renamePerson(const QString &from, const QString &to, const ServerSupport &support);

    // The channel's modes as 324 states them: all of them, anew.
    void setModes(const QList<QByteArray> &modeAndParams, const ServerSupport &support);
    // A MODE line's changes ("+o-l", "nick"): the channel's own modes, and a
    // person's status prefix. True when the people changed.
    bool applyModeChange(const QList<QByteArray> &modeAndParams, const ServerSupport &support);
    // The modes set, "+" and the letters in order (parameters left out).
    QByteArray modes() const;
    // A mode set that strips or refuses colour (+c, +S), where the server has it.
    bool refusesColour(const ServerSupport &support) const;

    QString topic() const { return m_topic; }
    void setTopic(const QString &topic) { m_topic = topic; }

private:
    qsizetype find(const QString &nick) const;
    void insert(const QString &entry, const ServerSupport &support);
    void removeAt(qsizetype at, const ServerSupport &support);
    // `plus`: set, else unset; `argument` is the mode's parameter.
    bool applyOne(char mode, bool plus, const QByteArray &argument, const ServerSupport &support);

    QStringList m_people;
    // Each entry by its case-folded nick, so a crowded channel's events stay cheap.
    QHash<QByteArray, QString> m_byNick;
    QHash<char, QByteArray> m_modes; // flag or setting, with its parameter
    QString m_topic;
};

// A people list's entry without its status prefixes.
QString bareNick(const QString &entry, const ServerSupport &support);

} // namespace irc
