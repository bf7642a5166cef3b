#include "chatroom.h"

#include <algorithm>

#include "chathost/windowtree.h"
#include "chatwire/chatwire.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

namespace chathost {

ChatRoom::ChatRoom(const QString &name, const QString &screenName, QWidget *parent, Kind kind)
    : QWidget(parent), m_kind(kind), m_name(name), m_screenName(screenName),
      m_title(new QLabel(name, this)), m_transcript(new QTextBrowser(this)),
      m_people(new QListWidget(this)), m_entry(new QLineEdit(this)), m_send(new QToolButton(this)) {
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    m_title->setFont(titleFont);

    m_transcript->setOpenLinks(false);
    m_transcript->setMinimumSize(360, 200);
    m_people->addItem(screenName);
    m_people->setMaximumWidth(150);
    // A line may be as long as one request can carry.
    m_entry->setMaxLength(int(chatwire::kMaxFrame));
    m_entry->setPlaceholderText(tr("Type here, Enter to send"));
    m_send->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    m_send->setToolTip(tr("Send"));

    auto *middle = new QHBoxLayout;
    middle->addWidget(m_transcript, 1);
    middle->addWidget(m_people);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_entry, 1);
    bottom->addWidget(m_send);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_title);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    connect(m_entry, &QLineEdit::returnPressed, this, &ChatRoom::post);
    connect(m_send, &QToolButton::clicked, this, &ChatRoom::post);
    setWindowTitle(name);
}

QString ChatRoom::name() const { return m_name; }

void ChatRoom::rename(const QString &name) {
    m_name = name;
    m_title->setText(name);
    // The document window around the room follows its title.
    setWindowTitle(name);
}

void ChatRoom::publish(WindowTree &tree, QWidget *document) const {
    // Sibling order as a client walks it: the name, the transcript before the
    // entry box, the other controls in between.
    tree.publish(m_title, chatwire::kStaticClass, document);
    tree.publish(m_transcript, chatwire::kRichTextClass, document);
    tree.publish(m_people,
                 m_kind == Kind::Conversation ? chatwire::kConversationPeopleClass
                                              : chatwire::kListBoxClass,
                 document);
    tree.publish(m_entry, chatwire::kRichTextClass, document);
    tree.publish(m_send, chatwire::kIconClass, document);
    // After the four classes a room is found by, so that the room search
    // and the entry box lookup go as before.
    if (m_announce)
        tree.publish(m_announce, chatwire::kAnnounceClass, document);
}

void ChatRoom::setAnnounceMode(chatwire::AnnounceMode mode) {
    if (!m_announce) {
        m_announce = new QLabel(this);
        m_announce->hide();
    }
    m_announce->setText(chatwire::announceModeName(mode));
}

QString ChatRoom::transcriptHtml(const QString &screenName, const QString &line) {
    return QStringLiteral("<b>%1:</b>&nbsp;").arg(screenName.toHtmlEscaped()) + line;
}

void ChatRoom::post() {
    const QString line = m_entry->text();
    if (line.isEmpty())
        return;
    m_entry->clear();
    appendHtml(transcriptHtml(m_screenName, line));
    emit posted(line);
}

void ChatRoom::appendHtml(const QString &html) {
    QTextCursor cursor(m_transcript->document());
    cursor.movePosition(QTextCursor::End);
    if (!m_transcript->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    // Each line starts afresh: tags the previous line left open end with it.
    cursor.insertHtml(html);
    trimScrollback();
    m_transcript->verticalScrollBar()->setValue(m_transcript->verticalScrollBar()->maximum());
}

void ChatRoom::trimScrollback() {
    // The oldest lines go a tenth of the scrollback at a time: taking lines
    // from the top lays the whole transcript out again, which once a line
    // would cost as much as all the lines kept.
    QTextDocument *document = m_transcript->document();
    const int excess = document->blockCount() - m_scrollback;
    if (excess < std::max(1, m_scrollback / 10))
        return;
    QTextCursor cursor(document);
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, excess);
    cursor.removeSelectedText();
}

void ChatRoom::appendStatus(const QString &text) {
    appendHtml(QStringLiteral("<font color=#707070><i>-- %1</i></font>").arg(text.toHtmlEscaped()));
}

void ChatRoom::setScrollback(int lines) {
    m_scrollback = std::max(1, lines);
    trimScrollback();
}

void ChatRoom::setPeople(const QStringList &people) {
    m_people->clear();
    m_people->addItems(people);
}

} // namespace chathost
