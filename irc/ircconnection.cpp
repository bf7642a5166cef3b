#include "ircconnection.h"

#include "irc/ircmessage.h"
#include "irc/linesplitter.h"

#include <QRandomGenerator>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QStringDecoder>

namespace irc {

namespace {

// A line from the server longer than this is no IRC: the connection is dropped.
constexpr qsizetype kMaxInputLine = 16 * 1024;
// What we allow ourselves before the server's reply says otherwise.
constexpr qsizetype kUnknownHost = 63;
constexpr qsizetype kUnknownUser = 10;
constexpr qsizetype kMaxAwayBytes = 200;
constexpr qsizetype kSaslChunk = 400;

QByteArray noBreaks(QByteArray bytes) {
    for (char &c : bytes) {
        if (c == '\r' || c == '\n' || c == '\0')
            c = ' ';
    }
    return bytes;
}

QString seconds(qint64 ms) { return QString::number((ms + 500) / 1000); }

// The names lists are kept under the channel's case-folded wire name, read
// back as UTF-8.
QString peopleKey(const QString &channel) { return QString::fromUtf8(foldCase(channel.toUtf8())); }

} // namespace

IrcConnection::IrcConnection(NetworkConfig config, QByteArray secret, QObject *parent)
    : QObject(parent), m_config(std::move(config)), m_secret(std::move(secret)),
      m_queue([this] { return now(); }),
      m_backoff([] { return QRandomGenerator::global()->generateDouble(); }) {
    m_clock.start();
    m_nick = m_config.nick;
    m_paceTimer.setSingleShot(true);
    m_quietTimer.setSingleShot(true);
    m_reconnectTimer.setSingleShot(true);
    connect(&m_paceTimer, &QTimer::timeout, this, &IrcConnection::flush);
    connect(&m_quietTimer, &QTimer::timeout, this, &IrcConnection::onQuiet);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &IrcConnection::connectToServer);
}

IrcConnection::~IrcConnection() {
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void IrcConnection::setRandom(std::function<double()> random) {
    m_backoff = Backoff(std::move(random));
}

void IrcConnection::start() {
    m_stopping = false;
    if (!m_config.tls)
        emit status({}, tr("%1:%2 is a plain connection: what is said there can be read on the "
                           "way (asked for with --insecure or tls=false)")
                            .arg(m_config.host)
                            .arg(m_config.port));
    connectToServer();
}

void IrcConnection::stop(const QString &quitMessage) {
    m_stopping = true;
    m_reconnectTimer.stop();
    m_quietTimer.stop();
    m_paceTimer.stop();
    if (!m_socket)
        return;
    if (m_socket->state() == QAbstractSocket::ConnectedState) {
        writeNow("QUIT :" + noBreaks(quitMessage.toUtf8()));
        m_socket->flush();
        // A failed write is reported at once, and what hears it may let the
        // socket go.
        if (QSslSocket *socket = m_socket)
            socket->disconnectFromHost();
    } else {
        m_socket->abort();
    }
}

void IrcConnection::connectToServer() {
    if (m_stopping)
        return;
    discardSocket();
    resetConnectionState();
    auto *socket = new QSslSocket(this);
    m_socket = socket;
    watchSocket();
    emit status({}, tr("connecting to %1 port %2%3...")
                        .arg(m_config.host)
                        .arg(m_config.port)
                        .arg(m_config.tls ? tr(" (TLS)") : QString()));
    m_quietTimer.start(int(m_timing.registerMs));
    openSocket(socket);
}

void IrcConnection::discardSocket() {
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    m_socket->deleteLater();
}

void IrcConnection::resetConnectionState() {
    m_buffer.clear();
    m_registered = false;
    m_awaitingAnswer = false;
    m_capEnded = false;
    m_capList.clear();
    m_nick = m_config.nick;
    m_nickTries = 0;
    m_userHost.clear();
    m_pendingJoins.clear();
    m_lastError.clear();
}

void IrcConnection::watchSocket() {
    connect(m_socket, &QSslSocket::readyRead, this, &IrcConnection::onReadyRead);
    connect(m_socket, &QSslSocket::disconnected, this, &IrcConnection::onDisconnected);
    connect(m_socket, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        if (m_lastError.isEmpty())
            m_lastError = m_socket->errorString();
        // A refused or failed connection never was connected: it ends here.
        if (m_socket->state() != QAbstractSocket::ConnectedState)
            onDisconnected();
    });
    connect(m_socket, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &errors) {
        QStringList texts;
        for (const QSslError &error : errors)
            texts << error.errorString();
        m_lastError =
            tr("the server's certificate is not trusted: %1").arg(texts.join(QStringLiteral("; ")));
    });
}

void IrcConnection::openSocket(QSslSocket *socket) {
    if (m_config.tls) {
        socket->setSslConfiguration(tlsConfiguration());
        connect(socket, &QSslSocket::encrypted, this, &IrcConnection::onConnected);
        socket->connectToHostEncrypted(m_config.host, m_config.port);
    } else {
        connect(socket, &QSslSocket::connected, this, &IrcConnection::onConnected);
        socket->connectToHost(m_config.host, m_config.port);
    }
}

QSslConfiguration IrcConnection::tlsConfiguration() const {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!m_config.caFile.isEmpty()) {
        QList<QSslCertificate> cas = tls.caCertificates();
        cas += QSslCertificate::fromPath(m_config.caFile);
        tls.setCaCertificates(cas);
    }
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return tls;
}

void IrcConnection::onConnected() {
    const bool sasl = !m_config.saslUser.isEmpty() && !m_secret.isEmpty();
    writeNow("CAP LS 302");
    if (!sasl && !m_secret.isEmpty())
        writeNow("PASS :" + noBreaks(m_secret));
    writeNow("NICK " + m_nick.toUtf8());
    writeNow("USER " + m_config.userName.toUtf8() +
             " 0 * :" + noBreaks(m_config.realName.toUtf8()));
}

void IrcConnection::onReadyRead() {
    m_buffer += m_socket->readAll();
    qsizetype used = 0;
    for (;;) {
        const qsizetype end = m_buffer.indexOf('\n', used);
        if (end < 0)
            break;
        QByteArray line = m_buffer.mid(used, end - used);
        used = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        // Anything heard shows the server is alive.
        m_awaitingAnswer = false;
        if (m_registered)
            m_quietTimer.start(int(m_timing.quietMs));
        handle(parseMessage(line));
        if (!m_socket)
            return;
    }
    m_buffer.remove(0, used);
    if (m_buffer.size() > kMaxInputLine)
        dropConnection(tr("the server sent a line longer than %1 bytes").arg(kMaxInputLine));
}

void IrcConnection::onQuiet() {
    if (!m_socket)
        return;
    if (!m_registered) {
        dropConnection(tr("no welcome from the server in %1 s").arg(seconds(m_timing.registerMs)));
        return;
    }
    if (m_awaitingAnswer) {
        dropConnection(
            tr("the server stopped answering (nothing in %1 s)").arg(seconds(m_timing.answerMs)));
        return;
    }
    m_awaitingAnswer = true;
    writeNow("PING :zorvel-" + QByteArray::number(now()));
    m_quietTimer.start(int(m_timing.answerMs));
}

void IrcConnection::dropConnection(const QString &why) {
    m_lastError = why;
    if (m_socket)
        m_socket->abort(); // emits disconnected when it was connected
    onDisconnected();
}

void IrcConnection::onDisconnected() {
    if (!m_socket)
        return;
    QSslSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
    m_quietTimer.stop();
    m_paceTimer.stop();
    const bool wasRegistered = m_registered;
    m_registered = false;
    if (wasRegistered)
        m_backoff.connectionEnded(now() - m_registeredAt);
    for (auto it = m_people.begin(); it != m_people.end(); ++it) {
        it->clear();
        emit peopleChanged(it.key(), {});
    }
    const QString why = m_lastError.isEmpty() ? tr("the connection ended") : m_lastError;
    m_lastError.clear();
    emit disconnected();
    if (m_stopping) {
        emit status({}, tr("disconnected from %1").arg(m_config.host));
        return;
    }
    const qint64 delay = m_backoff.nextDelayMs() / std::max<qint64>(1, m_timing.backoffScale);
    emit status({}, tr("disconnected from %1 (%2); connecting again in %3 s")
                        .arg(m_config.host, why, seconds(delay * m_timing.backoffScale)));
    emit reconnectScheduled(delay);
    m_reconnectTimer.start(int(delay));
}

void IrcConnection::writeNow(const QByteArray &line) {
    if (!m_socket)
        return;
    m_socket->write(line + "\r\n");
}

void IrcConnection::flush() {
    if (!m_socket || !m_registered || !m_pendingJoins.isEmpty())
        return;
    for (const QByteArray &line : m_queue.takeReady())
        writeNow(line);
    reportDropped();
    const qint64 wait = m_queue.msUntilNext();
    if (wait >= 0)
        m_paceTimer.start(int(std::max<qint64>(wait, 1)));
}

void IrcConnection::reportDropped() {
    for (const auto &[channel, count] : m_queue.takeDropped())
        emit status(channel, tr("%n line(s) not sent: more was posted than the network takes "
                                "in time",
                                nullptr, count));
}

qsizetype IrcConnection::prefixBytes() const {
    if (!m_userHost.isEmpty())
        return m_nick.toUtf8().size() + 1 + m_userHost.size();
    return m_nick.toUtf8().size() + 2 + kUnknownUser + 1 + kUnknownHost;
}

int IrcConnection::sendText(const QString &channel, const QByteArray &text, Kind kind) {
    const QByteArray target = channel.toUtf8();
    const bool action = kind == Kind::Action;
    const QByteArray command = kind == Kind::Notice ? "NOTICE " : "PRIVMSG ";
    // An action's text sits inside \x01ACTION ...\x01; " NOTICE " is a byte
    // shorter than the " PRIVMSG " textRoom counts.
    const qsizetype room =
        textRoom(prefixBytes(), target.size()) - (action ? 9 : 0) + (kind == Kind::Notice ? 1 : 0);
    const SplitText split = splitText(noBreaks(text), room);
    for (const QByteArray &piece : split.pieces) {
        const QByteArray body = action ? "\x01"
                                         "ACTION " +
                                             piece + "\x01"
                                       : piece;
        m_queue.push(command + target + " :" + body, channel);
    }
    if (split.bytesLeftOut > 0)
        emit status(channel, tr("the line was too long for %1 messages: its last %2 bytes were "
                                "not sent")
                                 .arg(kMaxPieces)
                                 .arg(split.bytesLeftOut));
    flush();
    reportDropped();
    return int(split.pieces.size());
}

void IrcConnection::setAway(const QString &text) {
    m_away = QString::fromUtf8(noBreaks(text.toUtf8().left(kMaxAwayBytes)));
    if (!m_registered)
        return;
    m_queue.push(m_away.isEmpty() ? QByteArray("AWAY") : "AWAY :" + m_away.toUtf8());
    flush();
}

QStringList IrcConnection::people(const QString &channel) const {
    return m_people.value(peopleKey(channel));
}

QString IrcConnection::channelName(const QByteArray &wire) const {
    const QByteArray folded = foldCase(wire);
    for (const QString &channel : m_config.channels) {
        if (foldCase(channel.toUtf8()) == folded)
            return channel;
    }
    return {};
}

void IrcConnection::setPeople(const QString &channel, const QStringList &people) {
    QStringList sorted = people;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    m_people[peopleKey(channel)] = sorted;
    emit peopleChanged(channel, sorted);
}

void IrcConnection::removePerson(const QString &channel, const QString &nick) {
    QStringList people = m_people.value(peopleKey(channel));
    const QByteArray folded = foldCase(nick.toUtf8());
    people.removeIf([&](const QString &entry) {
        QString bare = entry;
        while (!bare.isEmpty() && m_prefixes.contains(bare[0]))
            bare.remove(0, 1);
        return foldCase(bare.toUtf8()) == folded;
    });
    setPeople(channel, people);
}

QString IrcConnection::decode(const QByteArray &bytes) const {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    // Text that is not UTF-8 is most likely from an older client in Latin-1.
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

void IrcConnection::handle(const IrcMessage &message) {
    using Handler = void (IrcConnection::*)(const IrcMessage &);
    // 908 (the mechanisms a failed SASL login could use) needs no answer.
    static const QHash<QByteArray, Handler> handlers = {
        {"PING", &IrcConnection::handlePing},
        {"CAP", &IrcConnection::handleCap},
        {"AUTHENTICATE", &IrcConnection::handleAuthenticate},
        {"903", &IrcConnection::handleSaslLoggedIn},
        {"902", &IrcConnection::handleSaslFailed},
        {"904", &IrcConnection::handleSaslFailed},
        {"905", &IrcConnection::handleSaslFailed},
        {"906", &IrcConnection::handleSaslFailed},
        {"001", &IrcConnection::handleRegistered},
        {"005", &IrcConnection::handleServerSupport},
        {"432", &IrcConnection::handleNickRefused},
        {"433", &IrcConnection::handleNickRefused},
        {"436", &IrcConnection::handleNickRefused},
        {"464", &IrcConnection::handlePasswordRefused},
        {"ERROR", &IrcConnection::handleError},
        {"JOIN", &IrcConnection::handleJoin},
        {"PART", &IrcConnection::handlePart},
        {"KICK", &IrcConnection::handleKick},
        {"QUIT", &IrcConnection::handleQuit},
        {"NICK", &IrcConnection::handleNick},
        {"353", &IrcConnection::handleNames},
        {"366", &IrcConnection::handleNamesEnd},
        {"PRIVMSG", &IrcConnection::handlePrivmsg},
        {"NOTICE", &IrcConnection::handleNotice},
        {"305", &IrcConnection::handleAwayReply},
        {"306", &IrcConnection::handleAwayReply},
    };
    const auto found = handlers.constFind(message.command);
    if (found != handlers.cend())
        (this->*found.value())(message);
    else
        handleChannelError(message);
}

bool IrcConnection::isFromUs(const IrcMessage &message) const {
    return foldCase(message.nick()) == foldCase(m_nick.toUtf8());
}

QString IrcConnection::lastParam(const IrcMessage &message) const {
    return decode(message.params.value(message.params.size() - 1));
}

void IrcConnection::handlePing(const IrcMessage &message) {
    // Answers go before anything queued, registered or not.
    writeNow("PONG :" + message.param(0));
}

void IrcConnection::handleAuthenticate(const IrcMessage &message) {
    if (message.param(0) != "+")
        return;
    const QByteArray payload =
        QByteArray(m_config.saslUser.toUtf8() + '\0' + m_config.saslUser.toUtf8() + '\0' + m_secret)
            .toBase64();
    for (qsizetype i = 0; i < payload.size(); i += kSaslChunk)
        writeNow("AUTHENTICATE " + payload.mid(i, kSaslChunk));
    if (payload.size() % kSaslChunk == 0)
        writeNow("AUTHENTICATE +");
}

void IrcConnection::handleSaslLoggedIn(const IrcMessage &) {
    emit status({}, tr("logged in as %1 (SASL)").arg(m_config.saslUser));
    endCap();
}

void IrcConnection::handleSaslFailed(const IrcMessage &message) {
    emit status({}, tr("SASL login as %1 failed: %2").arg(m_config.saslUser, lastParam(message)));
    endCap();
}

void IrcConnection::handleServerSupport(const IrcMessage &message) {
    for (const QByteArray &token : message.params) {
        if (token.startsWith("NICKLEN="))
            m_nickLength = std::max(1, token.mid(8).toInt());
        else if (token.startsWith("PREFIX=") && token.contains(')'))
            m_prefixes = QString::fromUtf8(token.mid(token.indexOf(')') + 1));
    }
}

void IrcConnection::handlePasswordRefused(const IrcMessage &) {
    m_lastError = tr("the server refused the password");
    emit status({}, tr("%1 refused the password").arg(m_config.host));
}

void IrcConnection::handleError(const IrcMessage &message) {
    if (m_lastError.isEmpty())
        m_lastError = decode(message.param(0));
}

void IrcConnection::handleJoin(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    if (isFromUs(message)) {
        const qsizetype bang = message.prefix.indexOf('!');
        if (bang > 0)
            m_userHost = message.prefix.mid(bang + 1);
        m_pendingJoins.remove(channel);
        emit status(channel, tr("joined %1 as %2").arg(channel, m_nick));
        emit joined(channel);
        flush();
    } else {
        QStringList people = m_people.value(peopleKey(channel));
        people.append(decode(message.nick()));
        setPeople(channel, people);
        emit status(channel, tr("%1 joined").arg(decode(message.nick())));
    }
}

void IrcConnection::handlePart(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    const QString who = decode(message.nick());
    removePerson(channel, who);
    const QString reason = decode(message.param(1));
    emit status(channel, tr("%1 left").arg(who) +
                             (reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
}

void IrcConnection::handleKick(const IrcMessage &message) {
    const QString channel = channelName(message.param(0));
    if (channel.isEmpty())
        return;
    const QString who = decode(message.param(1));
    removePerson(channel, who);
    const QString reason = decode(message.param(2));
    emit status(channel, tr("%1 was removed by %2 (%3)").arg(who, decode(message.nick()), reason));
}

void IrcConnection::handleQuit(const IrcMessage &message) {
    const QString who = decode(message.nick());
    for (const QString &channel : m_config.channels) {
        const QStringList before = people(channel);
        removePerson(channel, who);
        if (people(channel).size() != before.size())
            emit status(channel, tr("%1 quit (%2)").arg(who, decode(message.param(0))));
    }
}

void IrcConnection::handleNick(const IrcMessage &message) {
    const bool fromUs = isFromUs(message);
    const QString from = decode(message.nick());
    const QString to = decode(message.param(0));
    if (fromUs) {
        m_nick = to;
        emit status({}, tr("you are now known as %1").arg(to));
    }
    for (const QString &channel : m_config.channels) {
        if (renamePerson(channel, from, to) && !fromUs)
            emit status(channel, tr("%1 is now known as %2").arg(from, to));
    }
}

bool IrcConnection::renamePerson(const QString &channel, const QString &from, const QString &to) {
    QStringList list = people(channel);
    bool changed = false;
    for (QString &entry : list) {
        qsizetype p = 0;
        while (p < entry.size() && m_prefixes.contains(entry[p]))
            ++p;
        if (foldCase(entry.mid(p).toUtf8()) == foldCase(from.toUtf8())) {
            entry = entry.left(p) + to;
            changed = true;
        }
    }
    if (changed)
        setPeople(channel, list);
    return changed;
}

void IrcConnection::handleNames(const IrcMessage &message) {
    const QString channel = channelName(message.param(2));
    if (!channel.isEmpty())
        m_namesComing[channel] +=
            decode(message.param(3)).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

void IrcConnection::handleNamesEnd(const IrcMessage &message) {
    const QString channel = channelName(message.param(1));
    if (!channel.isEmpty())
        setPeople(channel, m_namesComing.take(channel));
}

void IrcConnection::handleAwayReply(const IrcMessage &message) {
    emit status({}, message.command == "306" ? tr("you are marked as away")
                                             : tr("you are no longer marked as away"));
}

void IrcConnection::handleChannelError(const IrcMessage &message) {
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
    emit status(channel, tr("%1: %2").arg(channel, lastParam(message)));
    flush();
}

void IrcConnection::handleCap(const IrcMessage &message) {
    const QByteArray sub = message.param(1).toUpper();
    const bool sasl = !m_config.saslUser.isEmpty() && !m_secret.isEmpty();
    if (sub == "LS") {
        // "CAP * LS * :..." says more lines follow.
        const bool more = message.params.size() > 3 && message.param(2) == "*";
        m_capList += ' ' + message.params.last();
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
            writeNow("CAP REQ :sasl");
        } else {
            emit status({}, tr("%1 offers no SASL PLAIN login: going on without logging in")
                                .arg(m_config.host));
            endCap();
        }
    } else if (sub == "ACK" && message.params.last().trimmed() == "sasl") {
        writeNow("AUTHENTICATE PLAIN");
    } else if (sub == "NAK") {
        emit status({}, tr("%1 refused SASL: going on without logging in").arg(m_config.host));
        endCap();
    }
}

void IrcConnection::endCap() {
    if (m_capEnded)
        return;
    m_capEnded = true;
    writeNow("CAP END");
}

void IrcConnection::handleRegistered(const IrcMessage &message) {
    m_registered = true;
    m_registeredAt = now();
    m_capEnded = true;
    m_nick = decode(message.param(0));
    m_quietTimer.start(int(m_timing.quietMs));
    emit status({}, tr("connected to %1 as %2").arg(m_config.host, m_nick));
    emit registered();
    for (const QString &channel : m_config.channels)
        m_pendingJoins.insert(channel);
    writeNow("JOIN " + m_config.channels.join(QLatin1Char(',')).toUtf8());
    if (!m_away.isEmpty())
        m_queue.push("AWAY :" + m_away.toUtf8());
    flush();
}

void IrcConnection::handleNickRefused(const IrcMessage &message) {
    const QString refused = decode(message.param(1));
    if (m_registered) {
        emit status({}, tr("cannot take the nick %1: %2")
                            .arg(refused, decode(message.params.value(message.params.size() - 1))));
        return;
    }
    ++m_nickTries;
    QString next;
    if (message.command == "432" || m_nickTries > 8) {
        // A nick the server will not have at all (too long, a character it
        // does not allow): a plain one of its own.
        next =
            m_nick.size() > m_nickLength && m_nickTries <= 1
                ? m_nick.left(m_nickLength)
                : QStringLiteral("Guest%1").arg(QRandomGenerator::global()->bounded(1000, 10000));
    } else if (m_nick.size() < m_nickLength) {
        next = m_nick + QLatin1Char('_');
    } else {
        next = m_nick.left(m_nickLength - 1) + QString::number(m_nickTries % 10);
    }
    emit status({}, tr("the nick %1 is taken or not allowed here; trying %2").arg(refused, next));
    m_nick = next;
    writeNow("NICK " + next.toUtf8());
}

void IrcConnection::handlePrivmsg(const IrcMessage &incoming) {
    const QByteArray text = incoming.param(1);
    if (text.startsWith('\x01')) {
        handleCtcp(incoming);
        return;
    }
    emit message(channelName(incoming.param(0)), decode(incoming.nick()), decode(text),
                 Kind::Message);
}

void IrcConnection::handleCtcp(const IrcMessage &incoming) {
    QByteArray text = incoming.param(1).mid(1);
    if (text.endsWith('\x01'))
        text.chop(1);
    const qsizetype blank = text.indexOf(' ');
    const QByteArray ctcp = (blank < 0 ? text : text.left(blank)).toUpper();
    const QByteArray argument = blank < 0 ? QByteArray() : text.mid(blank + 1);
    if (ctcp == "ACTION") {
        emit message(channelName(incoming.param(0)), decode(incoming.nick()), decode(argument),
                     Kind::Action);
    } else if (ctcp == "VERSION" || ctcp == "PING") {
        const QByteArray answer = ctcp == "PING" ? QByteArray("PING " + noBreaks(argument.left(64)))
                                                 : QByteArray("VERSION chathost");
        m_queue.push("NOTICE " + incoming.nick() + " :\x01" + answer + "\x01");
        flush();
    }
}

void IrcConnection::handleNotice(const IrcMessage &incoming) {
    const QString channel = channelName(incoming.param(0));
    const QByteArray text = incoming.param(1);
    // Notices from the server itself before we are in: status, not speech.
    if (!incoming.prefix.contains('!') || !m_registered) {
        emit status(channel, decode(text));
        return;
    }
    emit message(channel, decode(incoming.nick()), decode(text), Kind::Notice);
}

} // namespace irc
