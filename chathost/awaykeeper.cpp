#include "awaykeeper.h"

#include "chathost/awaysummary.h"
#include "chathost/ircrooms.h"
#include "irc/awayrules.h"
#include "irc/ircconnection.h"

namespace chathost {

AwayKeeper::AwayKeeper(IrcRooms &rooms, WindowTree &tree, const QString &folder,
                       std::function<QDateTime()> now, QObject *parent)
    : QObject(parent), m_rooms(rooms), m_tree(tree), m_log(folder), m_stateFile(folder),
      m_period(m_stateFile.load()), m_now(std::move(now)) {
    for (irc::IrcConnection *connection : rooms.connections()) {
        connect(connection, &irc::IrcConnection::awayReplySent, this,
                [this, connection](const QString &nick) {
                    m_period.noteReply({m_now().toUTC(), connection->config().name, nick});
                    saveState();
                });
        connect(connection, &irc::IrcConnection::message, this,
                [this, connection](const QString &channel, const QString &nick, const QString &text,
                                   irc::IrcConnection::Kind kind) {
                    if (!m_period.isAway() || kind == irc::IrcConnection::Kind::Notice)
                        return;
                    // A private message (not an action: that is a CTCP); a
                    // channel's line only when it names us.
                    const QString network = connection->config().name;
                    if (channel.isEmpty()) {
                        if (kind == irc::IrcConnection::Kind::Message)
                            record(network, {}, nick, text);
                        return;
                    }
                    const irc::CaseMapping mapping = connection->serverSupport().caseMapping;
                    const QByteArray us = connection->nick().toUtf8();
                    if (irc::foldCase(nick.toUtf8(), mapping) != irc::foldCase(us, mapping) &&
                        irc::mentionsNick(text.toUtf8(), us, mapping))
                        record(network, channel,
                               kind == irc::IrcConnection::Kind::Action
                                   ? QStringLiteral("* ") + nick
                                   : nick,
                               text);
                });
    }
}

AwayKeeper::~AwayKeeper() { delete m_summary; }

void AwayKeeper::resume() {
    if (m_period.isAway()) {
        m_rooms.setAway(m_period.reason, m_period.since);
        for (irc::IrcConnection *connection : m_rooms.connections()) {
            for (const SentAwayReply &reply : std::as_const(m_period.replies)) {
                if (reply.network == connection->config().name)
                    connection->holdAwayReply(reply.nick, reply.at);
            }
        }
    } else if (!m_log.isEmpty())
        showSummary(); // a crash came before the window was closed
}

bool AwayKeeper::setAway(const QString &text) {
    const bool wasAway = m_period.isAway();
    m_period = m_period.next(text, m_now().toUTC());
    // A new period starts an empty log; the last one's stays in away.log.1.
    if (!wasAway && m_period.isAway() && !m_log.isEmpty())
        m_log.archive();
    saveState();
    const bool taken = m_rooms.setAway(text, m_period.isAway() ? m_period.since : QDateTime());
    if (wasAway && !m_period.isAway())
        showSummary();
    return taken;
}

void AwayKeeper::record(const QString &network, const QString &channel, const QString &sender,
                        const QString &text) {
    const QDateTime now = m_now().toUTC();
    QString error;
    const qsizetype dropped =
        m_log.append({now.addMSecs(-now.time().msec()), network, channel, sender, text}, &error);
    if (dropped < 0) {
        sayTrouble(error);
    } else if (dropped > 0) {
        m_period.dropped += dropped;
        saveState();
    }
}

void AwayKeeper::saveState() {
    QString error;
    if (!m_stateFile.save(m_period, &error))
        sayTrouble(error);
}

void AwayKeeper::sayTrouble(const QString &error) {
    // Once: the same trouble on every line would bury the rooms.
    if (m_troubleSaid)
        return;
    m_troubleSaid = true;
    m_rooms.showInChannels([&](const irc::IrcConnection *, const QString &) {
        return tr("what is said to you while away cannot be kept: %1").arg(error);
    });
}

void AwayKeeper::showSummary() {
    const QList<AwayRecord> records = m_log.records();
    if (!m_summary) {
        m_summary = new AwaySummary;
        m_summary->publish(m_tree);
        connect(m_summary, &QDialog::finished, this, &AwayKeeper::summaryClosed);
    }
    m_summary->setRecords(m_period, records, m_now().toUTC());
    m_summary->show();
    m_summary->raise();
    m_rooms.showInChannels([&](const irc::IrcConnection *connection, const QString &channel) {
        const QString network = connection->config().name;
        const auto count = std::count_if(records.cbegin(), records.cend(), [&](const auto &r) {
            return r.network == network && r.channel == channel;
        });
        return tr("while you were away, %n line(s) here named you (see \"While you were away\")",
                  nullptr, int(count));
    });
}

void AwayKeeper::summaryClosed() {
    // Away again meanwhile: the log is the new period's already.
    if (!m_period.isAway())
        m_log.archive();
}

} // namespace chathost
