#include "echoprinter.h"

#include "irc/htmlruns.h"

#include <unistd.h>

namespace chathost {

namespace {

constexpr const char *kReset = "\x1b[0m";
constexpr const char *kDefaultColour = "\x1b[39m";

QByteArray colourEscape(const QColor &colour) {
    return QStringLiteral("\x1b[38;2;%1;%2;%3m")
        .arg(colour.red())
        .arg(colour.green())
        .arg(colour.blue())
        .toLatin1();
}

} // namespace

EchoPrinter::EchoPrinter(std::FILE *out) : EchoPrinter(out, ::isatty(::fileno(out)) == 1) {}

EchoPrinter::EchoPrinter(std::FILE *out, bool colour) : m_out(out), m_colour(colour) {}

void EchoPrinter::print(const QString &room, const QString &screenName, const QString &line) {
    const QByteArray text = format(room, screenName, line);
    std::fwrite(text.constData(), 1, std::size_t(text.size()), m_out);
    std::fflush(m_out);
}

void EchoPrinter::printStatus(const QString &room, const QString &text) {
    const QByteArray bytes = QStringLiteral("[%1] -- %2\n").arg(room, text).toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), m_out);
    std::fflush(m_out);
}

QByteArray EchoPrinter::format(const QString &room, const QString &screenName,
                               const QString &line) const {
    QByteArray out = QStringLiteral("[%1] %2: ").arg(room, screenName).toUtf8();
    // The chat's own reading of the markup: what the room shows, in its colours.
    bool coloured = false;
    irc::walkHtmlRuns(
        line, [&] { out += ' '; },
        [&](const QTextCharFormat &format, QString text) {
            if (m_colour) {
                const QBrush brush = format.foreground();
                if (brush.style() != Qt::NoBrush) {
                    out += colourEscape(brush.color());
                    coloured = true;
                } else if (coloured) {
                    out += kDefaultColour;
                }
            }
            text.replace(QChar::Nbsp, u' ').replace(QChar::LineSeparator, u' ');
            out += text.toUtf8();
        });
    if (coloured)
        out += kReset;
    return out + '\n';
}

} // namespace chathost
