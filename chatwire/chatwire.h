#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// What zorvel and chathost must agree on: the window class names of the chat
// client's window tree, which zorvel looks for and chathost publishes on
// every platform, and, on Unix, the wire between them (chathost/PROTOCOL.md):
// every request and every reply is a frame, a 4-byte big-endian length
// followed by that many bytes. A request starts with one opcode byte.
namespace chatwire {

// The window classes: the client's main window, its document area, each
// document window in it, and a room's controls.
inline constexpr const char *kFrameClass = "AOL Frame25";
inline constexpr const char *kDocumentAreaClass = "MDIClient";
inline constexpr const char *kDocumentClass = "AOL Child";
inline constexpr const char *kRichTextClass = "RICHCNTL"; // the transcript, then the entry box
inline constexpr const char *kListBoxClass = "_AOL_Listbox";
inline constexpr const char *kIconClass = "_AOL_Icon";
inline constexpr const char *kStaticClass = "_AOL_Static";
// One more child of a room that is an IRC channel (ours, not the client's):
// its text says which of zorvel's lines the channel wants. A room without it
// takes every line.
inline constexpr const char *kAnnounceClass = "_zorvel_Announce";
// A conversation with one person is a document like a room, but its people
// list has this class instead of the list box's: a client that looks for a
// room to speak in passes over it.
inline constexpr const char *kConversationPeopleClass = "_zorvel_Conversation";

// The announce modes, as an announce child's text names them.
enum class AnnounceMode {
    Full,    // every line
    Changes, // going idle, the reason once, coming back, statistics
    Quiet,   // none: the network's away status says it all
};
QString announceModeName(AnnounceMode mode);
// The mode a text names (exactly, in lower case); nothing for any other text.
std::optional<AnnounceMode> parseAnnounceMode(const QString &text);

inline constexpr std::uint32_t kMaxFrame = 64 * 1024;
// The longest text a SetText or Type request carries: a frame less the
// opcode and the window handle.
inline constexpr std::uint32_t kMaxText = kMaxFrame - 1 - 8;
inline constexpr std::uint32_t kVersion = 1;

enum Op : std::uint8_t {
    FindWindow = 0x01,   // class                       -> u64 handle
    FindWindowEx = 0x02, // u64 parent, u64 after, class -> u64 handle
    SetText = 0x03,      // u64 window, bytes            -> u8 delivered
    SendChar = 0x04,     // u64 window, u32 code         -> u8 delivered
    Hello = 0x10,        // (nothing)                    -> u32 version, u64 pid
    WindowText = 0x11,   // u64 window                   -> bytes
    Raise = 0x12,        // u64 document window          -> u8 delivered
    Type = 0x13,         // u64 window, bytes            -> u8 delivered
    SetAway = 0x14,      // bytes (empty: back)           -> u8 taken by a network
};

// <runtime folder>/chathost.sock, the runtime folder looked up now.
QString socketPath();

void putU32(QByteArray &out, std::uint32_t value);
void putU64(QByteArray &out, std::uint64_t value);
std::uint32_t getU32(const char *in);
std::uint64_t getU64(const char *in);
// The payload with its length in front.
QByteArray frame(const QByteArray &payload);

} // namespace chatwire
