#include "welcomewindow.h"

#include "chathost/windowtree.h"
#include "chatwire/chatwire.h"

#include <QLabel>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace chathost {

WelcomeWindow::WelcomeWindow(const QString &screenName, QWidget *parent)
    : QWidget(parent), m_title(new QLabel(tr("Welcome, %1!").arg(screenName), this)),
      m_news(new QTextBrowser(this)), m_chat(new QToolButton(this)) {
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    m_title->setFont(titleFont);
    m_news->setOpenLinks(false);
    m_news->setHtml(tr("<h3>Today</h3>"
                       "<p><font color=#0000C0><b>Chat</b></font>: the rooms "
                       "are open. Step in and say hello.</p>"
                       "<p><i>Tip:</i> tags like <tt>&lt;b&gt;</tt>, <tt>&lt;i&gt;</tt> and "
                       "<tt>&lt;font color=#FF0000&gt;</tt> style what you post.</p>"));
    m_chat->setText(tr("Go to the chat"));
    m_chat->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addWidget(m_news, 1);
    layout->addWidget(m_chat, 0, Qt::AlignRight);

    connect(m_chat, &QToolButton::clicked, this, &WelcomeWindow::chatRequested);
    setWindowTitle(tr("Welcome"));
}

void WelcomeWindow::publish(WindowTree &tree, QWidget *document) const {
    tree.publish(m_title, chatwire::kStaticClass, document);
    tree.publish(m_news, chatwire::kRichTextClass, document);
    tree.publish(m_chat, chatwire::kIconClass, document);
}

} // namespace chathost
