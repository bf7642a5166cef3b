#pragma once

#include "chatwire/chatwire.h"
#include "hostlink/announcegate.h"
#include "platform/windowsystem.h"

#include <QString>

namespace hostlink {

// The window system the link drives; tests put a double in its place.
// Passing nullptr goes back to the platform's own.
void setWindowSystem(platform::WindowSystem *windowSystem);
platform::WindowSystem &windowSystem();

// The open chat room: the first document window, front to back, that has a
// rich-text control, a list box, an icon and a static text. 0 when none.
platform::WindowHandle findRoom();
// The announce mode of a room: what its announce child says; a room without
// one takes every line, and one whose text cannot be read or is unknown
// takes the changes only. Asked within the caller's exchange.
chatwire::AnnounceMode announceMode(platform::WindowHandle room);
// Posts one line into the chat room: the room's second rich-text control
// (its entry box) gets the text in Windows-1252, then an Enter, unless the
// room's announce mode holds a line of this kind back (announcegate.h).
// Without a room the line is lost, silently, and so is any line but the
// closing ones once the program is ending (goodbye.h). Nothing about the
// client is cached; what each room was told is kept, to decide the next line.
void chatSend(const QString &line, LineKind kind);
// Tells the chat client the user is away with the reason (an empty reason:
// a short default text), or, with `away` false, back. One exchange of its own.
void setAway(bool away, const QString &reason = {});

// The text in Windows-1252; a character outside the code page becomes "?".
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

} // namespace hostlink
