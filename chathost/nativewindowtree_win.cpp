#include "nativewindowtree_win.h"

#include "chathost/windowmessages.h"
#include "chatwire/chatwire.h"
#include "platform/cp1252.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

#include <cstdint>
#include <string>

namespace chathost {

namespace {

NativeWindowTree *g_instance = nullptr;

std::wstring wide(const QString &text) { return text.toStdWString(); }

} // namespace

NativeWindowTree::NativeWindowTree(WindowTree &tree, AwayHandler setAway, QObject *parent)
    : QObject(parent), m_tree(tree), m_setAway(std::move(setAway)) {
    g_instance = this;
    connect(&m_tree, &WindowTree::published, this, &NativeWindowTree::mirror);
}

NativeWindowTree::~NativeWindowTree() {
    // The top-level windows take their children with them.
    const QList<HWND> windows = m_handles.keys();
    for (HWND hwnd : windows) {
        if (m_handles.contains(hwnd) && !GetParent(hwnd))
            DestroyWindow(hwnd);
    }
    g_instance = nullptr;
}

HWND NativeWindowTree::nativeWindow(Handle handle) const { return m_native.value(handle, nullptr); }

bool NativeWindowTree::registerClass(const QByteArray &className) {
    if (m_registered.contains(className))
        return true;
    const std::wstring name = wide(QString::fromLatin1(className));
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &NativeWindowTree::windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    m_registered.insert(className);
    return true;
}

void NativeWindowTree::mirror(Handle handle) {
    QWidget *widget = m_tree.window(handle);
    const QByteArray className = m_tree.className(handle);
    if (!widget || !registerClass(className))
        return;
    // The tree publishes a parent before its children.
    const Handle parent = m_tree.parentOf(handle);
    HWND parentWindow = parent ? m_native.value(parent) : nullptr;
    if (parent && !parentWindow)
        return;
    const DWORD style = parentWindow ? WS_CHILD : WS_OVERLAPPEDWINDOW;
    HWND hwnd = CreateWindowExW(0, wide(QString::fromLatin1(className)).c_str(),
                                wide(windowText(widget)).c_str(), style, 0, 0, 0, 0, parentWindow,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return;
    m_native.insert(handle, hwnd);
    m_handles.insert(hwnd, handle);
    connect(widget, &QObject::destroyed, this, [this, handle] { forget(handle); });
    // A document area lists its windows in stacking order, which activation changes.
    if (auto *area = qobject_cast<QMdiArea *>(widget))
        connect(area, &QMdiArea::subWindowActivated, this, [this, handle] { syncOrder(handle); });
    if (parent)
        syncOrder(parent);
}

void NativeWindowTree::forget(Handle handle) {
    if (HWND hwnd = m_native.value(handle))
        DestroyWindow(hwnd); // WM_NCDESTROY drops it and its children from the maps
}

void NativeWindowTree::syncOrder(Handle parent) {
    HWND after = HWND_TOP;
    const QList<Handle> children = m_tree.children(parent);
    for (const Handle child : children) {
        HWND hwnd = m_native.value(child);
        if (!hwnd)
            continue;
        SetWindowPos(hwnd, after, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        after = hwnd;
    }
}

LRESULT CALLBACK NativeWindowTree::windowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (g_instance) {
        if (const Handle handle = g_instance->m_handles.value(hwnd))
            return g_instance->handle(hwnd, handle, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT NativeWindowTree::handle(HWND hwnd, Handle handle, UINT message, WPARAM wParam,
                                 LPARAM lParam) {
    QWidget *widget = m_tree.window(handle);
    switch (message) {
    case WM_SETTEXT:
        // A message sent as ANSI text arrives converted from the system's code page.
        if (widget)
            setWindowText(widget, QString::fromWCharArray(reinterpret_cast<LPCWSTR>(lParam)));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return widget ? LRESULT(windowText(widget).size()) : 0;
    case WM_GETTEXT: {
        if (!widget || wParam == 0)
            return 0;
        const QString text = windowText(widget).left(qsizetype(wParam) - 1);
        auto *out = reinterpret_cast<wchar_t *>(lParam);
        const qsizetype length = text.toWCharArray(out);
        out[length] = L'\0';
        return LRESULT(length);
    }
    case WM_CHAR:
        if (widget) {
            // The character in Windows-1252, as the client's rooms take it.
            const QByteArray code = platform::toCp1252(QString(QChar(char16_t(wParam))));
            sendCharMessage(widget, code.isEmpty() ? 0 : int(std::uint8_t(code.front())));
        }
        return 0;
    case WM_MDIACTIVATE: {
        // Sent to the document area: its document window in wParam comes to the front.
        const Handle document = m_handles.value(reinterpret_cast<HWND>(wParam));
        if (QWidget *window = m_tree.window(document);
            window && m_tree.parentOf(document) == handle)
            bringToFront(window);
        return 0;
    }
    case WM_CLOSE:
        if (widget)
            widget->close();
        return 0;
    case WM_COPYDATA: {
        const auto *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
        if (!data || data->dwData != ULONG_PTR(chatwire::kSetAwayCopyData) ||
            m_tree.parentOf(handle) != 0)
            break;
        const QByteArray text(static_cast<const char *>(data->lpData),
                              data->lpData ? qsizetype(data->cbData) : 0);
        return m_setAway && m_setAway(platform::fromCp1252(text)) ? 1 : 0;
    }
    case WM_NCDESTROY:
        m_handles.remove(hwnd);
        m_native.remove(handle);
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace chathost
