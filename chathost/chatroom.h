#pragma once

#include "chatwire/chatwire.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace chathost {

class WindowTree;

// One chat room: its name, the transcript, the people in it, the entry box
// and the send button. Enter in the entry box (or the send button) posts the
// box's text as one line from the signed-in screen name.
class ChatRoom : public QWidget {
    Q_OBJECT
public:
    // A room where many speak, or a conversation with one person, which a
    // client looking for a room passes over (its people list has a class of
    // its own).
    enum class Kind { Room, Conversation };

    ChatRoom(const QString &name, const QString &screenName, QWidget *parent = nullptr,
             Kind kind = Kind::Room);

    QString name() const;
    Kind kind() const { return m_kind; }
    // The room's name, title and window title become `name`.
    void rename(const QString &name);
    // Publishes the room's controls as children of `document` in the tree,
    // the announce child last when the room has one.
    void publish(WindowTree &tree, QWidget *document) const;
    // Gives the room an announce child whose text names the mode (before
    // publish): the room is a channel that takes only the lines it says.
    void setAnnounceMode(chatwire::AnnounceMode mode);

    QTextBrowser *transcript() const { return m_transcript; }
    QLineEdit *entry() const { return m_entry; }

    // The transcript's rendering of one posted line.
    static QString transcriptHtml(const QString &screenName, const QString &line);

    // Adds a line of HTML at the end of the transcript, which keeps its last
    // scrollback's number of lines (and at most a tenth more), dropping the oldest.
    void appendHtml(const QString &html);
    // A line about the room itself (the connection, who came and went):
    // shown, never posted.
    void appendStatus(const QString &text);
    void setScrollback(int lines);
    void setPeople(const QStringList &people);
    // The name the room's own lines are posted under.
    void setScreenName(const QString &screenName) { m_screenName = screenName; }

signals:
    // A line was posted: its text (the HTML as typed).
    void posted(const QString &line);

private:
    void post();
    void trimScrollback();

    Kind m_kind;
    QString m_name;
    QString m_screenName;
    QLabel *m_title;
    QTextBrowser *m_transcript;
    QListWidget *m_people;
    QLineEdit *m_entry;
    QToolButton *m_send;
    QLabel *m_announce = nullptr; // hidden: the room's status says the mode
    int m_scrollback = 5000;
};

} // namespace chathost
