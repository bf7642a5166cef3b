#include "hostusage.h"

namespace chathost {
namespace {

// The --help text, in parts: between them what differs between the systems
// (how other programs reach the rooms, where the networks' settings and
// passwords come from).
const char kIntroUsage[] =
    "Usage: chathost [options] [ROOMS [SCREENNAME [ROOMNAME...]]]\n"
    "\n"
    "A stand-in chat client: a main window with ROOMS chat rooms (default 1, at most 20)\n"
    "and a welcome window in front of them. Lines typed into a room's entry box are\n"
    "posted from SCREENNAME (default \"Guest\"); rooms are named by the ROOMNAMEs given,\n"
    "the rest \"Lobby\", \"Room 2\", ...\n"
    "\n";
const char kOptionsUsage[] =
    "\n"
    "Options:\n"
    "  -n, --rooms N            number of chat rooms\n"
    "  -s, --screen-name NAME   the signed-in screen name\n"
    "  -r, --room NAME          name the next room (may be repeated)\n"
    "  --transcript FILE        append one record per posted line to FILE, flushed at\n"
    "                           once: milliseconds since the epoch, TAB, room name\n"
    "                           (UTF-8), TAB, the line's raw Windows-1252 bytes with\n"
    "                           backslash, CR and LF written as \\\\, \\r and \\n, LF\n"
    "  --echo                   print each posted line on stdout as plain text, in its\n"
    "                           font colours when stdout is a terminal\n";
const char kMoreOptionsUsage[] =
    "  -v, --version            print the version and exit\n"
    "  --scrollback N           lines each room keeps (default 5000)\n"
    "  -h, --help               show this text\n"
    "\n"
    "IRC: each channel becomes a room, the first one in front behind the welcome\n"
    "window, in place of the local rooms (unless --rooms, --room or ROOMS asks for\n"
    "local ones too). What is posted in a channel's room goes to the channel, and\n"
    "zorvel's idle on and off mark you away and back on every network.\n"
    "  --irc URL                join ircs://HOST[:PORT]/#chan[,#chan2] (TLS with the\n"
    "                           certificate checked, port 6697 by default); a plain\n"
    "                           irc://HOST[:PORT]/#chan needs --insecure as well\n"
    "  --nick NICK              the nick on the network (default: the screen name)\n"
    "  --network NAME           join the network [NAME] of the settings file\n"
    "  --insecure               allow a connection without TLS\n";
const char kAnnounceUsage[] =
    "  --ca-file FILE           trust the certificates in FILE besides the system's\n"
    "  --announce MODE          which of zorvel's lines each channel takes, over the\n"
    "                           settings file: changes (the default: going idle, the\n"
    "                           reason once, coming back, statistics), full (every\n"
    "                           line) or quiet (none: the away status says why)\n"
    "  --autoreply MINUTES      while you are away, a private message gets one notice\n"
    "                           back per sender in MINUTES (default 30; 0: none)\n"
    "\n";
const char kSettingsHead[] = "\nSettings file: ";
const char kSettingsUsage[] = ",\n"
                              "one group per network, for --network NAME:\n"
                              "  [example]\n"
                              "  host=irc.example.org\n"
                              "  port=6697\n"
                              "  tls=true\n"
                              "  nick=MyNick\n"
                              "  username=mynick\n"
                              "  realname=My Name\n"
                              "  channels=#one, #two\n";
const char kSettingsTailUsage[] =
    "  hexcolours=false        (true: colours also as \\x04RRGGBB)\n"
    "  announce=changes        (full, changes or quiet: as --announce)\n"
    "  announce.#two=full      (for that channel, over announce=)\n"
    "  autoreply=30            (as --autoreply)\n"
    "  services=NickServ, ChanServ, MemoServ, OperServ, HostServ, BotServ, Global\n"
    "                          (never sent an away reply)\n";
#ifdef Q_OS_WIN
const char kReachedUsage[] =
    "Other programs find the rooms through chathost's window tree (its top-level\n"
    "window has the class \"AOL Frame25\") and drive them with window messages.\n"
    "Only one chathost runs per user session: a second one says which one runs and\n"
    "exits with status 1.\n";
const char kPingUsage[] =
    "  --ping                   do not start: say whether a chathost's window is\n"
    "                           there (exit status 0) or not (1)\n";
const char kSecretUsage[] =
    "  --password-file FILE     the server password (or with --sasl-user the SASL\n"
    "                           password) is the first line of FILE, which only you\n"
    "                           (with SYSTEM and Administrators) may read: never on\n"
    "                           the command line. Without it, the password stored\n"
    "                           for the network (--store-password) is used\n"
    "  --store-password NETWORK do not start: store the first line of standard input\n"
    "                           as NETWORK's password in the Credential Manager, as\n"
    "                           chathost:NETWORK (NETWORK: a networks.ini group, or\n"
    "                           the host of an --irc URL)\n"
    "  --sasl-user NAME         log in with SASL PLAIN as NAME\n";
const char kAwayUsage[] =
    "While you are away (zorvel's idle on, until idle off), private messages and\n"
    "channel lines naming your nick are kept in away.log in the chathost folder of\n"
    "the user's local application data (%LOCALAPPDATA%\\chathost; one record a line:\n"
    "UTC time, network, channel or -, sender, text, TAB between them) and shown, back,\n"
    "in the window \"While you were away\"; closed, the log becomes away.log.1.\n"
    "away.state beside it keeps the away period for a chathost started again.\n";
const char kSettingsPlace[] =
    "%APPDATA%\\chathost\\networks.ini\n(in the user's roaming application data folder)";
const char kSecretKeysUsage[] = "  passwordfile=C:\\Users\\me\\example.pass\n"
                                "  sasluser=MyAccount\n"
                                "  cafile=C:\\Users\\me\\my-ca.pem\n";
#else
const char kReachedUsage[] =
    "Other programs drive the rooms through the local socket\n"
    "<runtime folder>/chathost.sock (owner only; the runtime folder is $XDG_RUNTIME_DIR).\n"
    "Only one chathost runs per user: a second one says where the first is and exits\n"
    "with status 1.\n";
const char kPingUsage[] =
    "  --ping                   do not start: say whether a chathost answers on the\n"
    "                           socket (exit status 0) or not (1)\n";
const char kSecretUsage[] =
    "  --password-file FILE     the server password (or with --sasl-user the SASL\n"
    "                           password) is the first line of FILE, which only you\n"
    "                           may read (chmod 600): never on the command line\n"
    "  --sasl-user NAME         log in with SASL PLAIN as NAME\n";
const char kAwayUsage[] =
    "While you are away (zorvel's idle on, until idle off), private messages and\n"
    "channel lines naming your nick are kept in $XDG_STATE_HOME/chathost/away.log\n"
    "(~/.local/state/...; one record a line: UTC time, network, channel or -, sender,\n"
    "text, TAB between them) and shown, back, in the window \"While you were away\";\n"
    "closed, the log becomes away.log.1. away.state beside it keeps the away period\n"
    "for a chathost started again.\n";
const char kSettingsPlace[] = "$XDG_CONFIG_HOME/chathost/networks.ini (~/.config/chathost/...)";
const char kSecretKeysUsage[] = "  passwordfile=/home/me/.config/chathost/example.pass\n"
                                "  sasluser=MyAccount\n"
                                "  cafile=/home/me/my-ca.pem\n";
#endif

} // namespace

QString usageText() {
    QString text;
    for (const char *part :
         {kIntroUsage, kReachedUsage, kOptionsUsage, kPingUsage, kMoreOptionsUsage, kSecretUsage,
          kAnnounceUsage, kAwayUsage, kSettingsHead, kSettingsPlace, kSettingsUsage,
          kSecretKeysUsage, kSettingsTailUsage})
        text += QLatin1String(part);
    return text;
}

} // namespace chathost
