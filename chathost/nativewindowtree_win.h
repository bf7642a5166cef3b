#pragma once

#include "chathost/windowtree.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>
#include <windows.h>

namespace chathost {

// The window tree as real Win32 windows: every window published in the tree
// gets a native window of the same class, under the native window of its
// parent and in the same sibling order, front to back, so that other programs
// find the rooms with FindWindow/FindWindowEx and drive them with messages.
// The native windows stay hidden: the Qt widgets show what the messages do.
//   WM_SETTEXT   the widget's text becomes the message's (an entry box's typed text is lost)
//   WM_GETTEXT   the widget's text (a transcript's as plain text)
//   WM_CHAR      the key typed into the widget: 13 in an entry box posts its line
//   WM_MDIACTIVATE  to the document area: brings the document window in wParam to the front
//   WM_CLOSE     closes the widget (a room's window, or chathost's main window)
//   WM_COPYDATA  to a top-level window, with chatwire's SetAway identifier: the
//                away text (Windows-1252; none: back) goes to `setAway`, whose
//                answer (a network took it) is the message's result
// One per process, living on the thread that runs the widgets.
class NativeWindowTree final : public QObject {
    Q_OBJECT
public:
    using AwayHandler = std::function<bool(const QString &text)>;
    NativeWindowTree(WindowTree &tree, AwayHandler setAway, QObject *parent = nullptr);
    ~NativeWindowTree() override;
    NativeWindowTree(const NativeWindowTree &) = delete;
    NativeWindowTree &operator=(const NativeWindowTree &) = delete;

    // The native window of a window of the tree, or nullptr.
    HWND nativeWindow(Handle handle) const;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(HWND hwnd, Handle handle, UINT message, WPARAM wParam, LPARAM lParam);
    void mirror(Handle handle);
    void forget(Handle handle);
    // Puts the parent's native children in the tree's sibling order.
    void syncOrder(Handle parent);
    bool registerClass(const QByteArray &className);

    WindowTree &m_tree;
    AwayHandler m_setAway;
    QHash<Handle, HWND> m_native;
    QHash<HWND, Handle> m_handles;
    QSet<QByteArray> m_registered;
};

} // namespace chathost
