#include "networkconfig.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace irc {

namespace {

QStringList splitList(const QString &list) {
    QStringList items;
    for (const QString &item : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!item.trimmed().isEmpty())
            items.append(item.trimmed());
    }
    return items;
}

QStringList splitChannels(const QString &list) {
    QStringList channels;
    for (QString channel : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        channel = channel.trimmed();
        if (!channel.isEmpty() && !QStringLiteral("#&+!").contains(channel[0]))
            channel.prepend(QLatin1Char('#'));
        channels.append(channel);
    }
    return channels;
}

// A path as the settings file has it. QSettings reads a backslash as the
// start of an escape, so that a Windows path written as usual
// (C:\Users\me\ca.pem) would lose its folders; the line is read as written
// instead, a value in quotes without them, and backslashes that are all
// doubled (as QSettings itself writes them) count once. Nothing when the
// line is not found as written (a group name QSettings encodes).
std::optional<QString> pathValue(const QString &file, const QString &group, const QString &key) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return std::nullopt;
    bool inGroup = false;
    while (!in.atEnd()) {
        const QString line = QString::fromUtf8(in.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inGroup || equals < 0 ||
            line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) != 0)
            continue;
        QString value = line.mid(equals + 1).trimmed();
        if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
            value.endsWith(QLatin1Char('"')))
            value = value.mid(1, value.size() - 2);
        const QString doubled = QStringLiteral("\\\\");
        if (value.count(doubled) * 2 == value.count(QLatin1Char('\\')))
            value.replace(doubled, QStringLiteral("\\"));
        return value;
    }
    return std::nullopt;
}

} // namespace

bool isValidNick(const QString &nick) {
    if (nick.isEmpty() || nick.size() > 30)
        return false;
    const QString special = QStringLiteral("[]\\`_^{|}");
    for (qsizetype i = 0; i < nick.size(); ++i) {
        const QChar c = nick[i];
        const bool letter = c.unicode() < 0x80 && c.isLetter();
        const bool ok =
            letter || special.contains(c) ||
            (i > 0 && ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-')));
        if (!ok)
            return false;
    }
    return true;
}

bool isValidChannel(const QString &channel) {
    if (channel.size() < 2 || channel.size() > 50 || !QStringLiteral("#&+!").contains(channel[0]))
        return false;
    for (const QChar c : channel) {
        if (c.unicode() <= 0x20 || c == QLatin1Char(',') || c == QChar(7) || c == QLatin1Char(':'))
            return false;
    }
    return true;
}

std::optional<NetworkConfig> parseIrcUrl(const QString &url, QString *error) {
    NetworkConfig config;
    QString rest;
    if (url.startsWith(QLatin1String("ircs://"), Qt::CaseInsensitive)) {
        rest = url.mid(7);
    } else if (url.startsWith(QLatin1String("irc://"), Qt::CaseInsensitive)) {
        rest = url.mid(6);
        config.tls = false;
        config.port = kPlainPort;
    } else {
        *error =
            QStringLiteral("\"%1\" is no IRC address: it starts with ircs:// (or irc://)").arg(url);
        return std::nullopt;
    }
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    const QString hostPort = slash < 0 ? rest : rest.left(slash);
    config.channels = splitChannels(slash < 0 ? QString() : rest.mid(slash + 1));

    QString portText;
    if (hostPort.startsWith(QLatin1Char('['))) { // [IPv6]:port
        const qsizetype close = hostPort.indexOf(QLatin1Char(']'));
        config.host = hostPort.mid(1, close - 1);
        if (close > 0 && close + 1 < hostPort.size() && hostPort[close + 1] == QLatin1Char(':'))
            portText = hostPort.mid(close + 2);
        else if (close < 0 || close + 1 != hostPort.size())
            config.host.clear();
    } else {
        const qsizetype colon = hostPort.lastIndexOf(QLatin1Char(':'));
        config.host = colon < 0 ? hostPort : hostPort.left(colon);
        if (colon >= 0)
            portText = hostPort.mid(colon + 1);
    }
    if (config.host.isEmpty()) {
        *error = QStringLiteral("\"%1\" names no host").arg(url);
        return std::nullopt;
    }
    if (!portText.isNull()) {
        bool ok = false;
        const uint port = portText.toUInt(&ok);
        if (!ok || port == 0 || port > 65535) {
            *error = QStringLiteral("\"%1\" is no port number").arg(portText);
            return std::nullopt;
        }
        config.port = quint16(port);
    }
    if (config.channels.isEmpty()) {
        *error = QStringLiteral("\"%1\" names no channel: add one, as in ircs://%2/#channel")
                     .arg(url, hostPort);
        return std::nullopt;
    }
    config.name = config.host;
    return config;
}

QString networksFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/chathost/networks.ini");
}

std::optional<NetworkConfig> loadNetwork(const QString &file, const QString &name, QString *error) {
    if (!QFileInfo::exists(file)) {
        *error = QStringLiteral("no settings file %1 for the network \"%2\"").arg(file, name);
        return std::nullopt;
    }
    QSettings settings(file, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError) {
        *error = QStringLiteral("cannot read the settings file %1").arg(file);
        return std::nullopt;
    }
    if (!settings.childGroups().contains(name)) {
        *error = QStringLiteral("%1 has no network [%2]").arg(file, name);
        return std::nullopt;
    }
    settings.beginGroup(name);
    NetworkConfig config;
    config.name = name;
    config.host = settings.value(QStringLiteral("host")).toString().trimmed();
    config.tls = settings.value(QStringLiteral("tls"), true).toBool();
    const QVariant port = settings.value(QStringLiteral("port"));
    config.port = config.tls ? kTlsPort : kPlainPort;
    if (port.isValid()) {
        bool ok = false;
        const uint value = port.toString().toUInt(&ok);
        if (!ok || value == 0 || value > 65535) {
            *error =
                QStringLiteral("[%1] port: \"%2\" is no port number").arg(name, port.toString());
            return std::nullopt;
        }
        config.port = quint16(value);
    }
    config.nick = settings.value(QStringLiteral("nick")).toString().trimmed();
    config.userName = settings.value(QStringLiteral("username")).toString().trimmed();
    config.realName = settings.value(QStringLiteral("realname")).toString().trimmed();
    // QSettings reads "a,b" as a list; an entry with one channel as a string.
    const QVariant channels = settings.value(QStringLiteral("channels"));
    config.channels = splitChannels(channels.toStringList().join(QLatin1Char(',')));
    const auto path = [&](const QString &key) {
        return pathValue(file, name, key).value_or(settings.value(key).toString());
    };
    config.passwordFile = path(QStringLiteral("passwordfile"));
    config.saslUser = settings.value(QStringLiteral("sasluser")).toString().trimmed();
    config.caFile = path(QStringLiteral("cafile"));
    config.hexColours = settings.value(QStringLiteral("hexcolours"), false).toBool();
    static const QString kAnnounce = QStringLiteral("announce");
    config.announce = settings.value(kAnnounce).toString().trimmed();
    for (const QString &key : settings.childKeys()) {
        if (key.startsWith(kAnnounce + QLatin1Char('.'), Qt::CaseInsensitive))
            config.channelAnnounce.insert(
                splitChannels(key.mid(kAnnounce.size() + 1)).value(0).toLower(),
                settings.value(key).toString().trimmed());
    }
    const QVariant autoReply = settings.value(QStringLiteral("autoreply"));
    if (autoReply.isValid()) {
        const auto minutes = parseAutoReplyMinutes(autoReply.toString().trimmed());
        if (!minutes) {
            *error = QStringLiteral("[%1] autoreply: \"%2\" is no number of minutes")
                         .arg(name, autoReply.toString());
            return std::nullopt;
        }
        config.autoReplyMinutes = *minutes;
    }
    const QVariant services = settings.value(QStringLiteral("services"));
    if (services.isValid())
        config.services = splitList(services.toStringList().join(QLatin1Char(',')));
    if (config.host.isEmpty()) {
        *error = QStringLiteral("[%1] in %2 has no host").arg(name, file);
        return std::nullopt;
    }
    return config;
}

std::optional<int> parseAutoReplyMinutes(const QString &text) {
    bool ok = false;
    const int minutes = text.toInt(&ok);
    if (!ok || minutes < 0 || minutes > 527'040)
        return std::nullopt;
    return minutes;
}

bool completeNetwork(NetworkConfig &config, QString *error) {
    if (!isValidNick(config.nick)) {
        *error = config.nick.isEmpty()
                     ? QStringLiteral("a nick is needed for %1 (--nick NICK)").arg(config.name)
                     : QStringLiteral("\"%1\" is no valid IRC nick: letters, digits and "
                                      "[]\\`_^{|}- only, not starting with a digit or -")
                           .arg(config.nick);
        return false;
    }
    if (config.channels.isEmpty()) {
        *error = QStringLiteral("no channel to join on %1").arg(config.name);
        return false;
    }
    for (const QString &channel : std::as_const(config.channels)) {
        if (!isValidChannel(channel)) {
            *error = QStringLiteral("\"%1\" is no valid channel name").arg(channel);
            return false;
        }
    }
    if (config.userName.isEmpty() || !isValidNick(config.userName))
        config.userName = config.nick.left(10);
    if (config.realName.isEmpty())
        config.realName = config.nick;
    config.realName.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    return true;
}

} // namespace irc
