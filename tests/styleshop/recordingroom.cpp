#include "recordingroom.h"

#include "chatlink.h"

namespace {
// The client's window tree: frame, container, one room with its transcript,
// entry box, list, icon and static text.
enum : platform::WindowHandle {
    kFrame = 1,
    kContainer,
    kRoom,
    kTranscript,
    kEntry,
    kList,
    kIcon,
    kStatic,
};

struct Child {
    platform::WindowHandle parent, handle;
    const char *className;
};

constexpr Child kTree[] = {
    {kFrame, kContainer, "MDIClient"}, {kContainer, kRoom, "AOL Child"},
    {kRoom, kTranscript, "RICHCNTL"},  {kRoom, kEntry, "RICHCNTL"},
    {kRoom, kList, "_AOL_Listbox"},    {kRoom, kIcon, "_AOL_Icon"},
    {kRoom, kStatic, "_AOL_Static"},
};

constexpr int kEnter = 13;
} // namespace

RecordingRoom::RecordingRoom() {
    hostlink::setWindowSystem(this);
}

RecordingRoom::~RecordingRoom() {
    hostlink::setWindowSystem(nullptr);
}

platform::WindowHandle RecordingRoom::findWindow(const QByteArray &className) {
    return className == "AOL Frame25" ? platform::WindowHandle(kFrame) : 0;
}

platform::WindowHandle RecordingRoom::findWindowEx(platform::WindowHandle parent,
                                                   platform::WindowHandle childAfter,
                                                   const QByteArray &className) {
    bool afterPassed = childAfter == 0;
    for (const Child &child : kTree) {
        if (child.parent != parent)
            continue;
        if (afterPassed && className == child.className)
            return child.handle;
        if (child.handle == childAfter)
            afterPassed = true;
    }
    return 0;
}

void RecordingRoom::setText(platform::WindowHandle window, const QByteArray &text1252) {
    if (window == kEntry)
        m_entryText = text1252;
}

void RecordingRoom::sendChar(platform::WindowHandle window, int code) {
    if (window == kEntry && code == kEnter)
        m_lines.append(m_entryText);
}
