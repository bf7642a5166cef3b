#include "ircrenderer.h"

#include "irc/formatcodes.h"
#include "irc/irccolours.h"

#include <QColor>
#include <QStringList>

#include <cstdint>

namespace irc {

namespace {

struct State {
    FormatToggles toggles;
    QColor foreground; // invalid: the default
    QColor background;

    bool operator==(const State &) const = default;
};

// A colour code's digits as a colour; an invalid colour for the default
// (99 and above).
QColor colourOf(const FormatToken &token, QByteArrayView digits) {
    if (token.code == '\x04')
        return QColor(QLatin1Char('#') + QLatin1String(digits.data(), digits.size()));
    return colourOfCode(digits.toByteArray().toInt());
}

// A colour code into the state: the code alone resets both colours.
void takeColours(const FormatToken &token, State &state) {
    if (token.foreground.isEmpty()) {
        state.foreground = state.background = QColor();
        return;
    }
    state.foreground = colourOf(token, token.foreground);
    if (!token.background.isEmpty())
        state.background = colourOf(token, token.background);
}

QString openSpan(const State &state) {
    QStringList css;
    if (state.toggles.bold)
        css << QStringLiteral("font-weight:bold");
    if (state.toggles.italic)
        css << QStringLiteral("font-style:italic");
    if (state.toggles.underline || state.toggles.strike)
        css << QStringLiteral("text-decoration:%1%2")
                   .arg(state.toggles.underline ? QStringLiteral("underline ") : QString(),
                        state.toggles.strike ? QStringLiteral("line-through") : QString());
    if (state.toggles.mono)
        css << QStringLiteral("font-family:monospace");
    QColor foreground = state.foreground;
    QColor background = state.background;
    if (state.toggles.reverse) {
        std::swap(foreground, background);
        if (!foreground.isValid())
            foreground = colourOfCode(0);
        if (!background.isValid())
            background = colourOfCode(1);
    }
    if (foreground.isValid())
        css << QStringLiteral("color:%1").arg(foreground.name());
    if (background.isValid())
        css << QStringLiteral("background-color:%1").arg(background.name());
    if (css.isEmpty())
        return {};
    return QStringLiteral("<span style=\"%1\">").arg(css.join(QLatin1Char(';')));
}

// Walks the text, handing each run of plain text to `run` with the state it
// is written in.
template <typename Run> void walk(const QString &text, Run run) {
    const QByteArray bytes = text.toUtf8();
    State state;
    QByteArray pending;
    const auto flush = [&] {
        if (!pending.isEmpty())
            run(QString::fromUtf8(pending), state);
        pending.clear();
    };
    for (qsizetype i = 0; i < bytes.size();) {
        const FormatToken token = readFormatToken(bytes, i);
        State next = state;
        switch (token.type) {
        case FormatToken::Type::Toggle:
            next.toggles.toggle(token.code);
            break;
        case FormatToken::Type::Reset:
            next = State();
            break;
        case FormatToken::Type::Colour:
            takeColours(token, next);
            break;
        case FormatToken::Type::Text:
            if (const char c = bytes[i]; c == '\t')
                pending += ' ';
            else if (std::uint8_t(c) >= 0x20 && c != 0x7f)
                pending += QByteArrayView(bytes).sliced(i, token.length);
            // other control characters show nothing
            break;
        }
        i += token.length;
        if (next != state) {
            flush();
            state = next;
        }
    }
    flush();
}

} // namespace

QString ircToHtml(const QString &text) {
    QString html;
    walk(text, [&](const QString &run, const State &state) {
        const QString span = openSpan(state);
        html +=
            span + run.toHtmlEscaped() + (span.isEmpty() ? QString() : QStringLiteral("</span>"));
    });
    return html;
}

QString stripFormatting(const QString &text) {
    QString plain;
    walk(text, [&](const QString &run, const State &) { plain += run; });
    return plain;
}

} // namespace irc
