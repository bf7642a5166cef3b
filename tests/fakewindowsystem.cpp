#include "fakewindowsystem.h"
#include "chatwire/chatwire.h"

FakeWindowSystem::Handle FakeWindowSystem::add(Handle parent, const QByteArray &className,
                                               const QByteArray &text, bool readable) {
    const Handle handle = m_next++;
    m_windows.insert(handle, Window{className, parent, text, readable});
    siblings(parent).append(handle);
    return handle;
}

FakeWindowSystem::Handle FakeWindowSystem::addDocument(Handle container,
                                                       const QList<QByteArray> &childClasses) {
    const Handle document = add(container, chatwire::kDocumentClass);
    for (const QByteArray &className : childClasses)
        add(document, className);
    return document;
}

void FakeWindowSystem::bringToFront(Handle window) {
    QList<Handle> &list = siblings(m_windows.value(window).parent);
    list.removeOne(window);
    list.prepend(window);
}

QList<FakeWindowSystem::Handle> &FakeWindowSystem::siblings(Handle parent) {
    return m_children[parent];
}

QByteArray FakeWindowSystem::text(Handle window) const { return m_windows.value(window).text; }

FakeWindowSystem::Handle FakeWindowSystem::windowParent(Handle window) const {
    return m_windows.value(window).parent;
}

void FakeWindowSystem::beginExchange() { ++m_exchanges; }

FakeWindowSystem::Handle FakeWindowSystem::findWindow(const QByteArray &className) {
    return findWindowEx(0, 0, className);
}

FakeWindowSystem::Handle FakeWindowSystem::findWindowEx(Handle parent, Handle childAfter,
                                                        const QByteArray &className) {
    if (parent && !m_windows.contains(parent))
        return 0;
    const QList<Handle> &list = siblings(parent);
    qsizetype i = childAfter ? list.indexOf(childAfter) + 1 : 0;
    if (childAfter && i == 0)
        return 0;
    for (; i < list.size(); ++i) {
        if (m_windows.value(list[i]).className == className)
            return list[i];
    }
    return 0;
}

void FakeWindowSystem::setText(Handle window, const QByteArray &text1252) {
    m_messages.append(Message{window, true, text1252, 0});
    if (m_windows.contains(window))
        m_windows[window].text = text1252;
}

void FakeWindowSystem::sendChar(Handle window, int code) {
    m_messages.append(Message{window, false, {}, code});
    if (code == 13 && m_windows.contains(window)) {
        m_posts.append(Post{window, m_windows[window].text});
        m_windows[window].text.clear();
    }
}

std::optional<QByteArray> FakeWindowSystem::windowText(Handle window) {
    const auto it = m_windows.constFind(window);
    if (it == m_windows.cend() || !it->readable)
        return std::nullopt;
    return it->text;
}
