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
    : QMainWindow(parent), m_area(new QMdiArea(this)) {
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
        auto *room = new ChatRoom(*it, options.screenName);
        room->setScrollback(options.scrollback);
        if (const auto mode = options.roomAnnounce.constFind(*it);
            mode != options.roomAnnounce.cend())
            room->setAnnounceMode(*mode);
        QMdiSubWindow *document = addDocument(room);
        tree.publish(document, chatwire::kDocumentClass, m_area);
        room->publish(tree, document);
        connect(room, &ChatRoom::posted, this,
                [this, name = *it](const QString &line) { emit posted(name, line); });
        m_rooms.prepend(room);
    }
    auto *welcome = new WelcomeWindow(options.screenName);
    QMdiSubWindow *welcomeDocument = addDocument(welcome);
    tree.publish(welcomeDocument, chatwire::kDocumentClass, m_area);
    welcome->publish(tree, welcomeDocument);
    connect(welcome, &WelcomeWindow::chatRequested, this, [this] {
        if (!m_rooms.isEmpty())
            m_area->setActiveSubWindow(
                qobject_cast<QMdiSubWindow *>(m_rooms.first()->parentWidget()));
    });

    QMenu *window = menuBar()->addMenu(tr("&Window"));
    window->addAction(tr("&Cascade"), m_area, &QMdiArea::cascadeSubWindows);
    window->addAction(tr("&Tile"), m_area, &QMdiArea::tileSubWindows);
    window->addAction(tr("&Next"), m_area, &QMdiArea::activateNextSubWindow);
    window->addSeparator();
    window->addAction(tr("&Quit"), this, &QWidget::close);

    m_area->setActiveSubWindow(welcomeDocument);
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
