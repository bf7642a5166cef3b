#include "hostwindow.h"

#include "chathost/chatroom.h"
#include "chathost/hostoptions.h"
#include "chathost/welcomewindow.h"
#include "chathost/windowtree.h"
#include "chatwire/chatwire.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>

#include <algorithm>

namespace chathost {

HostWindow::HostWindow(const HostOptions &options, WindowTree &tree, QWidget *parent)
    : QMainWindow(parent), m_tree(tree), m_screenName(options.screenName),
      m_scrollback(options.scrollback), m_area(new QMdiArea(this)) {
    setWindowTitle(tr("chathost - %1").arg(options.screenName));
    setCentralWidget(m_area);
    resize(900, 640);

    tree.publish(this, chatwire::kFrameClass);
    tree.publish(m_area, chatwire::kDocumentAreaClass, this);
    tree.setChildOrder(m_area, [this] {
        const QList<QMdiSubWindow *> documents = documentsFrontToBack();
        return QList<QWidget *>(documents.cbegin(), documents.cend());
    });

    // Added back to front: the last one added is the front one.
    for (auto it = options.roomNames.crbegin(); it != options.roomNames.crend(); ++it) {
        const auto mode = options.roomAnnounce.constFind(*it);
        m_rooms.prepend(makeRoom(*it, ChatRoom::Kind::Room,
                                 mode != options.roomAnnounce.cend()
                                     ? std::optional<chatwire::AnnounceMode>(*mode)
                                     : std::nullopt));
    }
    auto *welcome = new WelcomeWindow(options.screenName);
    QMdiSubWindow *welcomeDocument = addDocument(welcome);
    tree.publish(welcomeDocument, chatwire::kDocumentClass, m_area);
    welcome->publish(tree, welcomeDocument);
    connect(welcome, &WelcomeWindow::chatRequested, this, [this] {
        if (const QList<ChatRoom *> open = rooms(); !open.isEmpty())
            m_area->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open.first()->parentWidget()));
    });

    QMenu *window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&Cascade"), m_area, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("&Tile"), m_area, &QMdiArea::tileSubWindows);
    window->addAction(tr("&Next"), m_area, &QMdiArea::activateNextSubWindow);
    window->addSeparator();
    window->addAction(tr("&Quit"), this, &QWidget::close);

    m_area->setActiveSubWindow(welcomeDocument);
}

ChatRoom *HostWindow::makeRoom(const QString &name, ChatRoom::Kind kind,
                               std::optional<chatwire::AnnounceMode> announce) {
    auto *room = new ChatRoom(name, m_screenName, nullptr, kind);
    room->setScrollback(m_scrollback);
    if (announce)
        room->setAnnounceMode(*announce);
    QMdiSubWindow *document = addDocument(room);
    m_tree.publish(document, chatwire::kDocumentClass, m_area);
    room->publish(m_tree, document);
    // Under the name it has when the line is posted: a conversation's follows its person.
    connect(room, &ChatRoom::posted, this,
            [this, room](const QString &line) { emit posted(room->name(), line); });
    return room;
}

QList<ChatRoom *> HostWindow::rooms() const {
    QList<ChatRoom *> open;
    for (ChatRoom *room : m_rooms) {
        if (room)
            open.append(room);
    }
    return open;
}

ChatRoom *HostWindow::addRoom(const QString &name, ChatRoom::Kind kind) {
    QMdiSubWindow *front = m_area->activeSubWindow();
    ChatRoom *room = makeRoom(name, kind, std::nullopt);
    m_rooms.append(room);
    if (front) {
        m_area->setActiveSubWindow(front);
        front->raise();
    }
    return room;
}

QMdiSubWindow *HostWindow::addDocument(QWidget *content) {
    QMdiSubWindow *document = m_area->addSubWindow(content);
    document->setWindowTitle(content->windowTitle());
    document->setAttribute(Qt::WA_DeleteOnClose);
    // Cascaded: each document a step further down and right than the one behind it.
    const int step = 28 * int(m_area->subWindowList().size() - 1);
    document->setGeometry(step, step, 620, 440);
    document->show();
    return document;
}

QList<QMdiSubWindow *> HostWindow::documentsFrontToBack() const {
    QList<QMdiSubWindow *> documents = m_area->subWindowList(QMdiArea::StackingOrder);
    std::reverse(documents.begin(), documents.end());
    return documents;
}

} // namespace chathost
