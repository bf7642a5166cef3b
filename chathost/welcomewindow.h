#pragma once

#include <QWidget>

class QLabel;
class QTextBrowser;
class QToolButton;

namespace chathost {

class WindowTree;

// The welcome window that opens in front of the rooms: a title, the news and
// a button. It is a document window but no chat room: it has no people list
// and only one rich-text control.
class WelcomeWindow : public QWidget {
    Q_OBJECT
public:
    explicit WelcomeWindow(const QString &screenName, QWidget *parent = nullptr);

    void publish(WindowTree &tree, QWidget *document) const;

signals:
    // The button: the user wants to go to the chat.
    void chatRequested();

private:
    QLabel *m_title;
    QTextBrowser *m_news;
    QToolButton *m_chat;
};

} // namespace chathost
