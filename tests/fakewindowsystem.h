#pragma once

#include "platform/windowsystem.h"

#include <QByteArray>
#include <QHash>
#include <QList>

// A window system made of records, for testing the chat room link without a
// chat client. Build a tree with add() (children front to back in the order
// added), hand it to hostlink::setWindowSystem(), and look at what arrived.
// Link the target zorvel_test_fakewindowsystem to get it.
class FakeWindowSystem : public platform::WindowSystem {
public:
    using Handle = platform::WindowHandle;

    // One set-text or character message, whether or not its window exists.
    struct Message {
        Handle window = 0;
        bool isSetText = false;
        QByteArray text; // set-text: the text
        int code = 0;    // character: the code
    };
    // A line the chat would post: Enter (13) reached an existing window.
    struct Post {
        Handle window = 0;
        QByteArray text;
        bool readable = true;
    };

    // Adds a window of the class as the last child of `parent` (0: a
    // top-level window) and returns its handle.
    // An empty `text` with `readable` false: a window whose text cannot be read.
    Handle add(Handle parent, const QByteArray &className, const QByteArray &text = {},
               bool readable = true);
    // Adds a document window under `container` with children of the given
    // classes, in order; returns the document window.
    Handle addDocument(Handle container, const QList<QByteArray> &childClasses);
    // Makes the window the first of its siblings.
    void bringToFront(Handle window);

    QByteArray text(Handle window) const;
    Handle windowParent(Handle window) const;
    QList<Message> messages() const { return m_messages; }
    QList<Post> posts() const { return m_posts; }
    int exchanges() const { return m_exchanges; }

    void beginExchange() override;
    Handle findWindow(const QByteArray &className) override;
    Handle findWindowEx(Handle parent, Handle childAfter, const QByteArray &className) override;
    void setText(Handle window, const QByteArray &text1252) override;
    void sendChar(Handle window, int code) override;
    std::optional<QByteArray> windowText(Handle window) override;

private:
    struct Window {
        QByteArray className;
        Handle parent = 0;
        QByteArray text;
        bool readable = true;
    };
    QList<Handle> &siblings(Handle parent);

    QHash<Handle, Window> m_windows;
    QHash<Handle, QList<Handle>> m_children; // 0: the top level
    QList<Message> m_messages;
    QList<Post> m_posts;
    int m_exchanges = 0;
    Handle m_next = 0x100;
};
