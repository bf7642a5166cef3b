#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>

class QWidget;

namespace chathost {

using Handle = std::uint64_t;

// The windows chathost shows to its clients: each published widget gets a
// class name and a handle (non-zero, kept for the widget's life) and sits
// among its parent's children in sibling order, front to back.
class WindowTree : public QObject {
    Q_OBJECT
public:
    explicit WindowTree(QObject *parent = nullptr);

    // Publishes the widget as the last child of `parent` (nullptr: a
    // top-level window). A widget that is destroyed leaves the tree.
    Handle publish(QWidget *window, const QByteArray &className, QWidget *parent = nullptr);
    // Lists the children of `parent` front to back as `order` gives them at the
    // time of asking, rather than in the order they were published.
    void setChildOrder(QWidget *parent, std::function<QList<QWidget *>()> order);

    Handle handle(const QWidget *window) const;
    QWidget *window(Handle handle) const;
    QByteArray className(Handle handle) const;
    // The window's parent in the tree; 0 for a top-level window or an unknown handle.
    Handle parentOf(Handle handle) const;

    // The first top-level window of the class (an empty class matches any), or 0.
    Handle findWindow(const QByteArray &className) const;
    // The next child of `parent` (0: the top level) after `after` (0: from the
    // first) of the class; 0 when there is none or `after` is not a child of it.
    Handle findWindowEx(Handle parent, Handle after, const QByteArray &className) const;
    // The children of `parent` (0: the top level), front to back.
    QList<Handle> children(Handle parent) const;

signals:
    // A window joined the tree (its parent, if any, is already in it).
    void published(Handle handle);

private:
    struct Entry {
        QPointer<QWidget> window;
        QByteArray className;
        Handle parent = 0;
        QList<Handle> children;
    };
    void forget(QObject *window);

    QHash<Handle, Entry> m_entries;
    QHash<const QObject *, Handle> m_handles;
    QHash<Handle, std::function<QList<QWidget *>()>> m_orders;
    QList<Handle> m_topLevel;
    Handle m_next = 0x10010;
};

} // namespace chathost
