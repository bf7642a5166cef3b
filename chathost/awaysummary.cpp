#include "awaysummary.h"

#include "chathost/chatroom.h"
#include "chathost/windowtree.h"
#include "chatwire/chatwire.h"
#include "irc/ircrenderer.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace chathost {

namespace {

// A private message's conversation is its sender's; a mention's, its channel's.
QString conversationOf(const AwayRecord &record) {
    return record.channel.isEmpty()
               ? AwaySummary::tr("%1 (private, %2)").arg(record.sender, record.network)
               : AwaySummary::tr("%1 (%2)").arg(record.channel, record.network);
}

} // namespace

QString hoursMinutes(qint64 ms) {
    const qint64 minutes = std::max<qint64>(0, ms) / 60'000;
    return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

AwaySummary::AwaySummary(QWidget *parent) : QDialog(parent), m_lines(new QTextBrowser(this)) {
    setWindowTitle(tr("While you were away"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_lines->setOpenLinks(false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lines, 1);
    layout->addWidget(buttons);
    resize(640, 480);
}

void AwaySummary::publish(WindowTree &tree) {
    tree.publish(this, kWindowClass);
    tree.publish(m_lines, chatwire::kRichTextClass, this);
}

void AwaySummary::setRecords(const AwayPeriod &period, const QList<AwayRecord> &records,
                             const QDateTime &now) {
    const QDateTime until = period.until.isValid() ? period.until : now;
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    QString html = QStringLiteral("<p><b>%1</b></p>")
                       .arg(tr("Away for %1, from %2 to %3")
                                .arg(hoursMinutes(period.since.msecsTo(until)),
                                     period.since.toLocalTime().toString(format),
                                     until.toLocalTime().toString(format))
                                .toHtmlEscaped());
    // The conversations in the order they first spoke, each with its lines.
    QStringList order;
    QHash<QString, QStringList> lines;
    for (const AwayRecord &record : records) {
        const QString conversation = conversationOf(record);
        if (!lines.contains(conversation))
            order.append(conversation);
        lines[conversation].append(
            record.time.toLocalTime().toString(QStringLiteral("HH:mm:ss")) +
            QStringLiteral("&nbsp; ") +
            ChatRoom::transcriptHtml(record.sender, irc::ircToHtml(record.text)));
    }
    QStringList counts;
    for (const QString &conversation : order)
        counts.append(QStringLiteral("%1: %2").arg(conversation).arg(lines[conversation].size()));
    html += QStringLiteral("<p>%1</p>")
                .arg(records.isEmpty() ? tr("Nobody wrote to you or mentioned you.")
                                       : tr("%n line(s) kept: ", nullptr, int(records.size())) +
                                             counts.join(QStringLiteral(", ")).toHtmlEscaped());
    if (period.dropped > 0)
        html += QStringLiteral("<p>%1</p>")
                    .arg(tr("%n older line(s) were dropped to keep the log within %1 lines.",
                            nullptr, int(period.dropped))
                             .arg(AwayLog::kMaxRecords));
    for (const QString &conversation : order) {
        html += QStringLiteral("<h3>%1</h3>")
                    .arg(tr("%1: %n line(s)", nullptr, int(lines[conversation].size()))
                             .arg(conversation)
                             .toHtmlEscaped());
        for (const QString &line : lines[conversation])
            html += QStringLiteral("<p>%1</p>").arg(line);
    }
    m_lines->setHtml(html);
}

} // namespace chathost
