#pragma once

#include <QList>
#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;

namespace chathost {

class ChatRoom;
struct HostOptions;
class WindowTree;

// chathost's main window: a document area with the chat rooms and, in
// front of them, the welcome window; all of it published in the tree.
class HostWindow : public QMainWindow {
    Q_OBJECT
public:
    HostWindow(const HostOptions &options, WindowTree &tree, QWidget *parent = nullptr);

    QList<ChatRoom *> rooms() const { return m_rooms; }
    // The document windows, front to back.
    QList<QMdiSubWindow *> documentsFrontToBack() const;

signals:
    // A line was posted in a room.
    void posted(const QString &room, const QString &line);

private:
    QMdiSubWindow *addDocument(QWidget *content);

    QMdiArea *m_area;
    QList<ChatRoom *> m_rooms;
};

} // namespace chathost
