#include "ircsession.h"

#include "irc/awayrules.h"
#include "irc/formatcodes.h"
#include "irc/ircencoder.h"
#include "irc/ircmessage.h"
#include "irc/linesplitter.h"

#include <QRandomGenerator>
#include <QStringDecoder>

namespace irc {

namespace {

// What we allow ourselves before the server's reply says otherwise.
constexpr qsizetype kUnknownHost = 63;
constexpr qsizetype kUnknownUser = 10;
constexpr qsizetype kMaxAwayBytes = 200;
constexpr qsizetype kSaslChunk = 400;
// How long chat waits for a channel's modes from a server that does not answer.
constexpr qint64 kModesWaitMs = 5000;
// The CAP list a server may send, in all.
constexpr qsizetype kMaxCapList = 64 * 1024;

// Channels are kept under their case-folded wire name, read back as UTF-8.
QString channelKey(const QString &channel) { return QString::fromUtf8(foldCase(channel.toUtf8())); }

} // namespace

IrcSession::IrcSession(NetworkConfig config, QByteArray secret, std::function<qint64()> nowMs,
                       QObject *parent)
    : QObject(parent), m_config(std::move(config)), m_secret(std::move(secret)),
      m_nowMs(std::move(nowMs)),
      m_random([](int low, int high) { return QRandomGenerator::global()->bounded(low, high); }),
      m_queue([this] { return m_nowMs(); }), m_nick(m_config.nick) {
    m_queue.setReplyInterval(SendQueue::AutoReply::Away,
                             qint64(m_config.autoReplyMinutes) * 60'000);
}

void IrcSession::connectionOpened() {
    // Lines meant for an earlier connection (a PONG, a JOIN) mean nothing to this one.
    m_queue.takeControl();
    m_registered = false;
    m_capEnded = false;
    m_capList.clear();
    m_nick = m_config.nick;
    m_nickTries = 0;
    const bool sasl = !m_config.saslUser.isEmpty() && !m_secret.isEmpty();
    sendControl(encodeLine("CAP", {"LS", "302"}));
    if (!sasl && !m_secret.isEmpty())
        sendControl(encodeLine("PASS", {}, m_secret));
    sendControl(encodeLine("NICK", {m_nick.toUtf8()}));
    sendControl(
        encodeLine("USER", {m_config.userName.toUtf8(), "0", "*"}, m_config.realName.toUtf8()));
}

void IrcSession::connectionClosed() {
    m_registered = false;
    // What the last server said of itself holds for it only.
    m_support = ServerSupport();
    m_userHost.clear();
    m_pendingJoins.clear();
    m_pendingModes.clear();
    m_namesComing.clear();
    m_queue.connectionEnded();
    const bool hadChannels = !m_channels.isEmpty();
    m_channels.clear();
    if (hadChannels) {
        for (const QString &channel : std::as_const(m_config.channels))
            emit peopleChanged(channel, {});
    }
}

void IrcSession::ping(const QByteArray &token) { sendControl(encodeLine("PING", {}, token)); }

void IrcSession::quit(const QString &message) {
    sendControl(encodeLine("QUIT", {}, message.toUtf8()));
}

qint64 IrcSession::msUntilChatMayGo() const {
    if (!m_registered || !m_pendingJoins.isEmpty())
        return -1;
    const qint64 now = m_nowMs();
    qint64 wait = 0;
    for (const qint64 until : m_pendingModes)
        wait = std::max(wait, until - now);
    return wait;
}

QList<QByteArray> IrcSession::takeLines() {
    QList<QByteArray> lines = m_queue.takeControl();
    if (msUntilChatMayGo() == 0)
        lines += m_queue.takeReady([this](const QString &target) {
            const ChannelModel *model = channel(target);
            return model && model->refusesColour(m_support);
        });
    for (const QByteArray &nick : m_queue.takeRepliedTo(SendQueue::AutoReply::Away))
        emit awayReplySent(decode(nick));
    return lines;
}

qint64 IrcSession::msUntilNext() const {
    const qint64 chat = msUntilChatMayGo();
    const qint64 queued = m_queue.msUntilNext();
    return chat < 0 || queued < 0 ? -1 : std::max(chat, queued);
}

void IrcSession::modesKnown(const QString &channel) {
    if (m_pendingModes.remove(channel))
        emit linesReady();
}

void IrcSession::sendControl(const QByteArray &line) {
    m_queue.pushControl(line);
    emit linesReady();
}

void IrcSession::reportDropped() {
    for (const auto &[channel, count] : m_queue.takeDropped())
        emit status(channel, tr("%n line(s) not sent: more was posted than the network takes "
                                "in time",
                                nullptr, count));
}

qsizetype IrcSession::prefixBytes() const {
    if (!m_userHost.isEmpty())
        return m_nick.toUtf8().size() + 1 + m_userHost.size();
    return m_nick.toUtf8().size() + 2 + kUnknownUser + 1 + kUnknownHost;
}

int IrcSession::sendText(const QString &channel, const QByteArray &text, Kind kind) {
    const QByteArray target = channel.toUtf8();
    const bool action = kind == Kind::Action;
    const QByteArray command = kind == Kind::Notice ? "NOTICE" : "PRIVMSG";
    // An action's text sits inside \x01ACTION ...\x01; " NOTICE " is a byte
    // shorter than the " PRIVMSG " textRoom counts.
    const qsizetype room =
        textRoom(prefixBytes(), target.size()) - (action ? 9 : 0) + (kind == Kind::Notice ? 1 : 0);
    const ChannelModel *model = this->channel(channel);
    const QByteArray plain =
        model && model->refusesColour(m_support) ? stripFormatCodes(text) : text;
    const SplitText split = splitText(noBreaks(plain), room);
    for (const QByteArray &piece : split.pieces) {
        const QByteArray body = action ? ctcpText("ACTION", piece) : piece;
        const QByteArray line = encodeLine(command, {target}, body);
        m_queue.push(line, channel, line.size() - body.size());
    }
    if (split.bytesLeftOut > 0)
        emit status(channel, tr("the line was too long for %1 messages: its last %2 bytes were "
                                "not sent")
                                 .arg(kMaxPieces)
                                 .arg(split.bytesLeftOut));
    emit linesReady();
    reportDropped();
    return int(split.pieces.size());
}

QByteArray IrcSession::awayLine() const {
    return m_away.isEmpty() ? encodeLine("AWAY") : encodeLine("AWAY", {}, m_away.toUtf8());
}

void IrcSession::setAway(const QString &text, const QDateTime &since) {
    if (since.isValid())
        m_awaySinceMs =
            m_nowMs() - std::max<qint64>(0, since.msecsTo(QDateTime::currentDateTimeUtc()));
    else if (m_away.isEmpty())
        m_awaySinceMs = m_nowMs();
    m_away = QString::fromUtf8(noBreaks(text.toUtf8().left(kMaxAwayBytes)));
    if (m_registered)
        sendControl(awayLine());
}

QStringList IrcSession::people(const QString &channel) const {
    const ChannelModel *model = this->channel(channel);
    return model ? model->people() : QStringList();
}

const ChannelModel *IrcSession::channel(const QString &channel) const {
    const auto found = m_channels.constFind(channelKey(channel));
    return found == m_channels.cend() ? nullptr : &found.value();
}

ChannelModel *IrcSession::model(const QString &channel) { return &m_channels[channelKey(channel)]; }

void IrcSession::publishPeople(const QString &channel) {
    emit peopleChanged(channel, model(channel)->people());
}

QString IrcSession::channelName(const QByteArray &wire) const {
    const QByteArray folded = foldCase(wire);
    for (const QString &channel : m_config.channels) {
        if (foldCase(channel.toUtf8()) == folded)
            return channel;
    }
    return {};
}

std::optional<QString> IrcSession::messageTarget(const QByteArray &target) const {
    if (const QString channel = channelName(target); !channel.isEmpty())
        return channel;
    qsizetype statusPrefix = 0;
    while (statusPrefix < target.size() &&
           m_support.prefixes.contains(QLatin1Char(target[statusPrefix])))
        ++statusPrefix;
    if (statusPrefix > 0) {
        if (const QString channel = channelName(target.mid(statusPrefix)); !channel.isEmpty())
            return channel;
    }
    const CaseMapping mapping = m_support.caseMapping;
    if (foldCase(target, mapping) == foldCase(m_nick.toUtf8(), mapping))
        return QString();
    return std::nullopt;
}

void IrcSession::showUntargeted(const IrcMessage &incoming, const QByteArray &text) {
    emit status(
        {},
        tr("%1 to %2: %3").arg(decode(incoming.nick()), decode(incoming.param(0)), decode(text)));
}

QString IrcSession::decode(const QByteArray &bytes) const {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    // Text that is not UTF-8 is most likely from an older client in Latin-1.
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

void IrcSession::receive(const QByteArray &line) { handle(parseMessage(line)); }

void IrcSession::handle(const IrcMessage &message) {
    using Handler = void (IrcSession::*)(const IrcMessage &);
    // 908 (the mechanisms a failed SASL login could use) needs no answer.
    static const QHash<QByteArray, Handler> handlers = {
        {"PING", &IrcSession::handlePing},
        {"CAP", &IrcSession::handleCap},
        {"AUTHENTICATE", &IrcSession::handleAuthenticate},
        {"903", &IrcSession::handleSaslLoggedIn},
        {"902", &IrcSession::handleSaslFailed},
        {"904", &IrcSession::handleSaslFailed},
        {"905", &IrcSession::handleSaslFailed},
        {"906", &IrcSession::handleSaslFailed},
        {"001", &IrcSession::handleRegistered},
        {"005", &IrcSession::handleServerSupport},
        {"432", &IrcSession::handleNickRefused},
        {"433", &IrcSession::handleNickRefused},
        {"436", &IrcSession::handleNickRefused},
        {"464", &IrcSession::handlePasswordRefused},
        {"ERROR", &IrcSession::handleError},
        {"JOIN", &IrcSession::handleJoin},
        {"PART", &IrcSession::handlePart},
        {"KICK", &IrcSession::handleKick},
        {"QUIT", &IrcSession::handleQuit},
        {"NICK", &IrcSession::handleNick},
        {"MODE", &IrcSession::handleMode},
        {"TOPIC", &IrcSession::handleTopic},
        {"324", &IrcSession::handleChannelModes},
        {"332", &IrcSession::handleTopic},
        {"353", &IrcSession::handleNames},
        {"366", &IrcSession::handleNamesEnd},
        {"PRIVMSG", &IrcSession::handlePrivmsg},
        {"NOTICE", &IrcSession::handleNotice},
        {"305", &IrcSession::handleAwayReply},
        {"306", &IrcSession::handleAwayReply},
    };
    const auto found = handlers.constFind(message.command);
    if (found != handlers.cend())
        (this->*found.value())(message);
    else
        handleChannelError(message);
}

bool IrcSession::isFromUs(const IrcMessage &message) const {
    return foldCase(message.nick()) == foldCase(m_nick.toUtf8());
}

QString IrcSession::lastParam(const IrcMessage &message) const {
    return decode(message.params.value(message.params.size() - 1));
}

void IrcSession::handlePing(const IrcMessage &message) {
    // Answers go before anything queued, registered or not.
    sendControl(encodeLine("PONG", {}, message.param(0)));
}

void IrcSession::handleAuthenticate(const IrcMessage &message) {
    if (message.param(0) != "+")
        return;
    const QByteArray payload =
        QByteArray(m_config.saslUser.toUtf8() + '\0' + m_config.saslUser.toUtf8() + '\0' + m_secret)
            .toBase64();
    for (qsizetype i = 0; i < payload.size(); i += kSaslChunk)
        sendControl(encodeLine("AUTHENTICATE", {payload.mid(i, kSaslChunk)}));
    if (payload.size() % kSaslChunk == 0)
        sendControl(encodeLine("AUTHENTICATE", {"+"}));
}

void IrcSession::handleSaslLoggedIn(const IrcMessage &) {
    emit status({}, tr("logged in as %1 (SASL)").arg(m_config.saslUser));
    endCap();
}

void IrcSession::handleSaslFailed(const IrcMessage &message) {
    emit status({}, tr("SASL login as %1 failed: %2").arg(m_config.saslUser, lastParam(message)));
    endCap();
}

void IrcSession::handleServerSupport(const IrcMessage &message) { m_support.read(message); }

void IrcSession::handlePasswordRefused(const IrcMessage &) {
    emit serverError(tr("the server refused the password"));
    emit status({}, tr("%1 refused the password").arg(m_config.host));
}

void IrcSession::handleError(const IrcMessage &message) {
    emit serverError(decode(message.param(0)));
}

void IrcSession::handleJoin(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    if (isFromUs(message)) {
        const qsizetype bang = message.prefix.indexOf('!');
        if (bang > 0)
            m_userHost = message.prefix.mid(bang + 1);
        m_pendingJoins.remove(channel);
        m_pendingModes.insert(channel, m_nowMs() + kModesWaitMs);
        *model(channel) = ChannelModel();
        emit status(channel, tr("joined %1 as %2").arg(channel, m_nick));
        emit joined(channel);
        // Its modes: whether it takes colour.
        sendControl(encodeLine("MODE", {channel.toUtf8()}));
    } else {
        const QString who = decode(message.nick());
        // Someone listed already (a NAMES reply that crossed the JOIN) stays once.
        if (model(channel)->addPerson(who, m_support))
            publishPeople(channel);
        emit status(channel, tr("%1 joined").arg(who));
    }
}

void IrcSession::handlePart(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    const QString who = decode(message.nick());
    model(channel)->removePerson(who, m_support);
    publishPeople(channel);
    const QString reason = decode(message.param(1));
    emit status(channel, tr("%1 left").arg(who) +
                             (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
}

void IrcSession::handleKick(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    const QString who = decode(message.param(1));
    model(channel)->removePerson(who, m_support);
    publishPeople(channel);
    const QString reason = decode(message.param(2));
    emit status(channel, tr("%1 was removed by %2 (%3)").arg(who, decode(message.nick()), reason));
}

void IrcSession::handleQuit(const IrcMessage &message) {
    const QString who = decode(message.nick());
    for (const QString &channel : std::as_const(m_config.channels)) {
        if (model(channel)->removePerson(who, m_support)) {
            publishPeople(channel);
            emit status(channel, tr("%1 quit (%2)").arg(who, decode(message.param(0))));
        }
    }
}

void IrcSession::handleNick(const IrcMessage &message) {
    const bool fromUs = isFromUs(message);
    const QString from = decode(message.nick());
    const QString to = decode(message.param(0));
    if (fromUs) {
        m_nick = to;
        emit status({}, tr("you are now known as %1").arg(to));
    }
    emit nickChanged(from, to);
    for (const QString &channel : std::as_const(m_config.channels)) {
        if (!model(channel)->renamePerson(from, to, m_support))
            continue;
        publishPeople(channel);
        if (!fromUs)
            emit status(channel, tr("%1 is now known as %2").arg(from, to));
    }
}

void IrcSession::handleNames(const IrcMessage &message) {
    const QString channel = channelName(message.param(2));
    if (channel.isEmpty())
        return;
    QStringList &coming = m_namesComing[channel];
    if (coming.size() >= ChannelModel::kMaxPeople)
        return;
    coming += decode(message.param(3)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (coming.size() > ChannelModel::kMaxPeople) {
        coming.resize(ChannelModel::kMaxPeople);
        emit status(channel, tr("%1 has more than %2 people: the rest are not listed")
                                 .arg(channel)
                                 .arg(ChannelModel::kMaxPeople));
    }
}

void IrcSession::handleNamesEnd(const IrcMessage &message) {
    const QString channel = channelName(message.param(1));
    if (channel.isEmpty())
        return;
    model(channel)->setPeople(m_namesComing.take(channel), m_support);
    publishPeople(channel);
}

void IrcSession::noteColour(const QString &channel, bool refusedBefore) {
    const bool refused = model(channel)->refusesColour(m_support);
    if (refused == refusedBefore)
        return;
    emit status(channel, refused ? tr("%1 takes no colour (%2): lines go to it without their "
                                      "formatting")
                                       .arg(channel, QString::fromUtf8(model(channel)->modes()))
                                 : tr("%1 takes colour again").arg(channel));
}

void IrcSession::handleChannelModes(const IrcMessage &message) {
    // 324 us #channel +modes params...
    const QString channel = channelName(message.param(1));
    if (channel.isEmpty())
        return;
    ChannelModel *channelModel = model(channel);
    const bool refused = channelModel->refusesColour(m_support);
    channelModel->setModes(message.params.mid(2), m_support);
    noteColour(channel, refused);
    modesKnown(channel);
}

void IrcSession::handleMode(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return; // our own user modes
    ChannelModel *channelModel = model(channel);
    const bool refused = channelModel->refusesColour(m_support);
    if (channelModel->applyModeChange(message.params.mid(1), m_support))
        publishPeople(channel);
    noteColour(channel, refused);
}

void IrcSession::handleTopic(const IrcMessage &message) {
    // TOPIC #channel :text, or 332 us #channel :text
    const qsizetype at = message.command == "TOPIC" ? 0 : 1;
    const QString channel = channelName(message.param(at));
    if (!channel.isEmpty())
        model(channel)->setTopic(decode(message.param(at + 1)));
}

void IrcSession::handleAwayReply(const IrcMessage &message) {
    emit status({}, message.command == "306" ? tr("you are marked as away")
                                             : tr("you are no longer marked as away"));
}

void IrcSession::handleChannelError(const IrcMessage &message) {
    const QByteArray &cmd = message.command;
    if (cmd.size() != 3 || (cmd[0] != '4' && cmd[0] != '5'))
        return;
    // An error about one of our channels (cannot join it, cannot speak
    // in it): said in its room. A channel that cannot be joined holds
    // back the lines for the others no longer.
    const QString channel = channelName(message.param(1));
    if (channel.isEmpty())
        return;
    m_pendingJoins.remove(channel);
    m_pendingModes.remove(channel);
    emit status(channel, tr("%1: %2").arg(channel, lastParam(message)));
    emit linesReady();
}

void IrcSession::handleCap(const IrcMessage &message) {
    const QByteArray sub = message.param(1).toUpper();
    const bool sasl = !m_config.saslUser.isEmpty() && !m_secret.isEmpty();
    if (sub == "LS") {
        // "CAP * LS * :..." says more lines follow.
        const bool more = message.params.size() > 3 && message.param(2) == "*";
        // Bounded: a server that never ends the list costs no more.
        if (m_capList.size() < kMaxCapList)
            m_capList += ' ' + message.params.last().left(kMaxCapList - m_capList.size());
        if (more)
            return;
        if (!sasl) {
            endCap();
            return;
        }
        bool offered = false;
        for (const QByteArray &cap : m_capList.split(' ')) {
            if (cap == "sasl" ||
                (cap.startsWith("sasl=") && cap.mid(5).split(',').contains("PLAIN")))
                offered = true;
        }
        if (offered) {
            sendControl(encodeLine("CAP", {"REQ"}, "sasl"));
        } else {
            emit status({}, tr("%1 offers no SASL PLAIN login: going on without logging in")
                                .arg(m_config.host));
            endCap();
        }
    } else if (sub == "ACK" && message.params.last().trimmed() == "sasl") {
        sendControl(encodeLine("AUTHENTICATE", {"PLAIN"}));
    } else if (sub == "NAK") {
        emit status({}, tr("%1 refused SASL: going on without logging in").arg(m_config.host));
        endCap();
    }
}

void IrcSession::endCap() {
    if (m_capEnded)
        return;
    m_capEnded = true;
    sendControl(encodeLine("CAP", {"END"}));
}

void IrcSession::handleRegistered(const IrcMessage &message) {
    m_registered = true;
    m_capEnded = true;
    m_nick = decode(message.param(0));
    emit status({}, tr("connected to %1 as %2").arg(m_config.host, m_nick));
    emit registered();
    for (const QString &channel : std::as_const(m_config.channels))
        m_pendingJoins.insert(channel);
    for (const QByteArray &join : joinLines(m_config.channels))
        sendControl(join);
    if (!m_away.isEmpty())
        sendControl(awayLine());
}

void IrcSession::handleNickRefused(const IrcMessage &message) {
    const QString refused = decode(message.param(1));
    if (m_registered) {
        emit status({}, tr("cannot take the nick %1: %2").arg(refused, lastParam(message)));
        return;
    }
    ++m_nickTries;
    const int nickLength = m_support.nickLength;
    QString next;
    if (message.command == "432" || m_nickTries > 8) {
        // A nick the server will not have at all (too long, a character it
        // does not allow): a plain one of its own.
        next = m_nick.size() > nickLength && m_nickTries <= 1
                   ? m_nick.left(nickLength)
                   : QStringLiteral("Guest%1").arg(m_random(1000, 10000));
    } else if (m_nick.size() < nickLength) {
        next = m_nick + QLatin1Char('_');
    } else {
        next = m_nick.left(nickLength - 1) + QString::number(m_nickTries % 10);
    }
    emit status({}, tr("the nick %1 is taken or not allowed here; trying %2").arg(refused, next));
    m_nick = next;
    sendControl(encodeLine("NICK", {next.toUtf8()}));
}

void IrcSession::handlePrivmsg(const IrcMessage &incoming) {
    const QByteArray text = incoming.param(1);
    if (text.startsWith('\x01')) {
        handleCtcp(incoming);
        return;
    }
    const std::optional<QString> channel = messageTarget(incoming.param(0));
    if (!channel) {
        showUntargeted(incoming, text);
        return;
    }
    emit message(*channel, decode(incoming.nick()), decode(text), Kind::Message);
    replyWhileAway(incoming);
}

void IrcSession::holdAwayReply(const QString &nick, const QDateTime &at) {
    const qint64 ago = std::max<qint64>(0, at.msecsTo(QDateTime::currentDateTimeUtc()));
    m_queue.holdSlot(SendQueue::AutoReply::Away, nick.toUtf8(),
                     m_nowMs() - ago + qint64(m_config.autoReplyMinutes) * 60'000);
}

void IrcSession::replyWhileAway(const IrcMessage &incoming) {
    const CaseMapping mapping = m_support.caseMapping;
    const QByteArray nick = m_nick.toUtf8();
    if (m_away.isEmpty() || m_config.autoReplyMinutes <= 0 ||
        foldCase(incoming.param(0), mapping) != foldCase(nick, mapping) ||
        !repliesTo(incoming.prefix, nick, m_config.services, mapping))
        return;
    const QByteArray text = awayReplyText(m_nick, m_away, m_nowMs() - m_awaySinceMs);
    if (m_queue.pushAutoReply(SendQueue::AutoReply::Away, incoming.nick(),
                              encodeLine("NOTICE", {incoming.nick()}, text)))
        emit linesReady();
}

void IrcSession::handleCtcp(const IrcMessage &incoming) {
    QByteArray text = incoming.param(1).mid(1);
    if (text.endsWith('\x01'))
        text.chop(1);
    const qsizetype blank = text.indexOf(' ');
    const QByteArray ctcp = (blank < 0 ? text : text.left(blank)).toUpper();
    const QByteArray argument = blank < 0 ? QByteArray() : text.mid(blank + 1);
    if (ctcp == "ACTION") {
        if (const std::optional<QString> channel = messageTarget(incoming.param(0)))
            emit message(*channel, decode(incoming.nick()), decode(argument), Kind::Action);
        else
            showUntargeted(incoming, argument);
    } else if (ctcp == "VERSION" || ctcp == "PING") {
        const QByteArray answer = ctcp == "PING" ? noBreaks(argument.left(64)) : "chathost";
        // Anyone can ask: answered within the automatic replies' limits only.
        if (m_queue.pushAutoReply(SendQueue::AutoReply::Ctcp, incoming.nick(),
                                  encodeLine("NOTICE", {incoming.nick()}, ctcpText(ctcp, answer))))
            emit linesReady();
    }
}

void IrcSession::handleNotice(const IrcMessage &incoming) {
    const QString channel = channelName(incoming.param(0));
    const QByteArray text = incoming.param(1);
    // Notices from the server itself before we are in: status, not speech.
    if (!incoming.prefix.contains('!') || !m_registered) {
        emit status(channel, decode(text));
        return;
    }
    if (const std::optional<QString> target = messageTarget(incoming.param(0)))
        emit message(*target, decode(incoming.nick()), decode(text), Kind::Notice);
    else
        showUntargeted(incoming, text);
}

} // namespace irc
