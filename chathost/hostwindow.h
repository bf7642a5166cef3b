#pragma once

#include "chathost/chatroom.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <optional>

class QMdiArea;
class QMdiSubWindow;

namespace chathost {

struct HostOptions;
class WindowTree;

// chathost's main window: a document area with the chat rooms and, in
// front of them, the welcome window; all of it published in the tree.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(const HostOptions &options, WindowTree &tree, QWidget *parent = nullptr);

    // The rooms open now, those given at the start first.
    QList<ChatRoom *> rooms() const;
    // Opens a room after the start, published in the tree like the others and
    // heard the same way; it comes in behind the document in front, so that
    // what the user is reading stays in front.
    ChatRoom *addRoom(const QString &name, ChatRoom::Kind kind);
    // The document windows, front to back.
    QList<QMdiSubWindow *> documentsFrontToBack() const;

signals:
    // A line was posted in a room.
    void posted(const QString &room, const QString &line);

private:
    QMdiSubWindow *addDocument(QWidget *content);
    ChatRoom *makeRoom(const QString &name, ChatRoom::Kind kind,
                       std::optional<chatwire::AnnounceMode> announce);

    WindowTree &m_tree;
    QString m_screenName;
    int m_scrollback;
    QMdiArea *m_area;
    QList<QPointer<ChatRoom>> m_rooms; // a room the user closes is gone
};

} // namespace chathost
