#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

namespace irc {

// Walks a line as a room shows it (Qt's own reading of the HTML): `run`
// gets each stretch of text in one format, in order, and `blockBreak` is
// called between paragraphs. Header-only, so that chathost's terminal echo,
// which every build has, shares it without linking the IRC client.
template <typename BlockBreak, typename Run>
void walkHtmlRuns(const QString &html, BlockBreak blockBreak, Run run) {
    QTextDocument document;
    document.setHtml(html);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            blockBreak();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            run(fragment.charFormat(), fragment.text());
        }
    }
}

} // namespace irc
