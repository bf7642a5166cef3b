#include "ircrenderer.h"

#include "irc/irccolours.h"

#include <QColor>
#include <QStringList>

#include <optional>

namespace irc {

namespace {

struct State {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool mono = false;
    bool reverse = false;
    QColor foreground; // invalid: the default
    QColor background;

    bool operator==(const State &) const = default;
};

bool isDigit(const QString &text, qsizetype i) {
    return i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9');
}

bool isHexDigit(const QString &text, qsizetype i) {
    return i < text.size() && (isDigit(text, i) || (text[i].toLower() >= QLatin1Char('a') &&
                                                    text[i].toLower() <= QLatin1Char('f')));
}

// \x03's colour number at `i` (one or two digits): the colour, advancing `i`;
// an invalid colour for 99, the default.
std::optional<QColor> takeColourNumber(const QString &text, qsizetype &i) {
    if (!isDigit(text, i))
        return std::nullopt;
    int code = text[i++].digitValue();
    if (isDigit(text, i))
        code = code * 10 + text[i++].digitValue();
    return colourOfCode(code); // 99 and above: invalid, the default
}

std::optional<QColor> takeHexColour(const QString &text, qsizetype &i) {
    for (qsizetype k = 0; k < 6; ++k) {
        if (!isHexDigit(text, i + k))
            return std::nullopt;
    }
    const QColor colour(QLatin1Char('#') + text.mid(i, 6));
    i += 6;
    return colour;
}

// Reads the colour code starting at `i` (just past \x03 or \x04) into the state.
void takeColours(const QString &text, qsizetype &i, bool hex, State &state) {
    const auto take = [&](qsizetype &at) {
        return hex ? takeHexColour(text, at) : takeColourNumber(text, at);
    };
    const std::optional<QColor> foreground = take(i);
    if (!foreground) {
        // The code alone resets both colours.
        state.foreground = state.background = QColor();
        return;
    }
    state.foreground = *foreground;
    qsizetype after = i + 1;
    if (i < text.size() && text[i] == QLatin1Char(',')) {
        if (const std::optional<QColor> background = take(after)) {
            state.background = *background;
            i = after;
        }
    }
}

QString openSpan(const State &state) {
    QStringList css;
    if (state.bold)
        css << QStringLiteral("font-weight:bold");
    if (state.italic)
        css << QStringLiteral("font-style:italic");
    if (state.underline || state.strike)
        css << QStringLiteral("text-decoration:%1%2")
                   .arg(state.underline ? QStringLiteral("underline ") : QString(),
                        state.strike ? QStringLiteral("line-through") : QString());
    if (state.mono)
        css << QStringLiteral("font-family:monospace");
    QColor foreground = state.foreground;
    QColor background = state.background;
    if (state.reverse) {
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
    State state;
    QString pending;
    const auto flush = [&] {
        if (!pending.isEmpty())
            run(pending, state);
        pending.clear();
    };
    for (qsizetype i = 0; i < text.size();) {
        const char16_t c = text[i].unicode();
        if (c >= 0x20 && c != 0x7f) {
            pending += text[i++];
            continue;
        }
        State next = state;
        ++i;
        switch (c) {
        case 0x02:
            next.bold = !next.bold;
            break;
        case 0x1d:
            next.italic = !next.italic;
            break;
        case 0x1f:
            next.underline = !next.underline;
            break;
        case 0x1e:
            next.strike = !next.strike;
            break;
        case 0x11:
            next.mono = !next.mono;
            break;
        case 0x16:
            next.reverse = !next.reverse;
            break;
        case 0x0f:
            next = State();
            break;
        case 0x03:
        case 0x04:
            takeColours(text, i, c == 0x04, next);
            break;
        case 0x09:
            pending += QLatin1Char(' ');
            break;
        default:
            break; // other control characters show nothing
        }
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
