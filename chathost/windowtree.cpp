#include "windowtree.h"

#include <QWidget>

namespace chathost {

WindowTree::WindowTree(QObject *parent) : QObject(parent) {}

Handle WindowTree::publish(QWidget *window, const QByteArray &className, QWidget *parent) {
    if (const Handle known = handle(window))
        return known;
    // Spaced like window handles, so that a handle is never mistaken for a count.
    const Handle handle = m_next;
    m_next += 4;
    const Handle parentHandle = parent ? this->handle(parent) : 0;
    m_entries.insert(handle, Entry{window, className, parentHandle, {}});
    m_handles.insert(window, handle);
    if (parentHandle)
        m_entries[parentHandle].children.append(handle);
    else
        m_topLevel.append(handle);
    connect(window, &QObject::destroyed, this, &WindowTree::forget);
    emit published(handle);
    return handle;
}

void WindowTree::setChildOrder(QWidget *parent, std::function<QList<QWidget *>()> order) {
    m_orders.insert(handle(parent), std::move(order));
}

void WindowTree::forget(QObject *window) {
    const Handle handle = m_handles.take(window);
    if (!handle)
        return;
    const Entry entry = m_entries.take(handle);
    if (entry.parent && m_entries.contains(entry.parent))
        m_entries[entry.parent].children.removeOne(handle);
    m_topLevel.removeOne(handle);
    m_orders.remove(handle);
}

Handle WindowTree::handle(const QWidget *window) const { return m_handles.value(window, 0); }

QWidget *WindowTree::window(Handle handle) const {
    const auto it = m_entries.constFind(handle);
    return it == m_entries.cend() ? nullptr : it->window.data();
}

QByteArray WindowTree::className(Handle handle) const { return m_entries.value(handle).className; }

Handle WindowTree::parentOf(Handle handle) const { return m_entries.value(handle).parent; }

QList<Handle> WindowTree::children(Handle parent) const {
    if (!parent)
        return m_topLevel;
    const auto it = m_entries.constFind(parent);
    if (it == m_entries.cend())
        return {};
    const auto order = m_orders.constFind(parent);
    if (order == m_orders.cend())
        return it->children;
    QList<Handle> ordered;
    for (const QWidget *child : (*order)()) {
        const Handle h = handle(child);
        if (it->children.contains(h))
            ordered.append(h);
    }
    for (const Handle h : it->children) {
        if (!ordered.contains(h))
            ordered.append(h);
    }
    return ordered;
}

Handle WindowTree::findWindow(const QByteArray &className) const {
    return findWindowEx(0, 0, className);
}

Handle WindowTree::findWindowEx(Handle parent, Handle after, const QByteArray &className) const {
    if (parent && !m_entries.contains(parent))
        return 0;
    const QList<Handle> siblings = children(parent);
    qsizetype start = 0;
    if (after) {
        start = siblings.indexOf(after) + 1;
        if (start == 0)
            return 0;
    }
    for (qsizetype i = start; i < siblings.size(); ++i) {
        // Class names compare without regard to case, as the real window system's do.
        if (className.isEmpty() ||
            m_entries.value(siblings[i]).className.compare(className, Qt::CaseInsensitive) == 0)
            return siblings[i];
    }
    return 0;
}

} // namespace chathost
