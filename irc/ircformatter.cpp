#include "ircformatter.h"

#include "irc/htmlruns.h"
#include "irc/irccolours.h"

#include <cctype>
#include <cstdint>

namespace irc {

namespace {

struct Style {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int colour = -1; // -1: the default colour
    QRgb rgb = 0;

    bool sameColour(const Style &other, bool hex) const {
        return colour == other.colour && (!hex || colour < 0 || rgb == other.rgb);
    }
};

Style styleOf(const QTextCharFormat &format) {
    Style style;
    style.bold = format.fontWeight() >= QFont::Bold;
    style.italic = format.fontItalic();
    style.underline = format.fontUnderline();
    const QBrush brush = format.foreground();
    if (brush.style() != Qt::NoBrush && !sentAsDefaultColour(brush.color())) {
        style.colour = nearestStandardColour(brush.color());
        style.rgb = brush.color().rgb();
    }
    return style;
}

class Writer {
public:
    explicit Writer(const FormatOptions &options) : m_options(options) {}

    void setStyle(const Style &wanted) {
        if (wanted.bold != m_style.bold)
            put("\x02");
        if (wanted.italic != m_style.italic)
            put("\x1d");
        if (wanted.underline != m_style.underline)
            put("\x1f");
        if (!wanted.sameColour(m_style, m_options.hexColours)) {
            if (wanted.colour < 0) {
                put("\x03");
                if (m_options.hexColours)
                    put("\x04");
                m_bareColourCode = true;
            } else {
                put("\x03" + QByteArray::number(wanted.colour).rightJustified(2, '0'));
                if (m_options.hexColours)
                    put("\x04" + QByteArray::number(wanted.rgb & 0xffffff, 16)
                                     .rightJustified(6, '0')
                                     .toUpper());
                m_colourCode = true;
            }
        }
        m_style = wanted;
    }

    void text(const QString &text) {
        QByteArray bytes = text.toUtf8();
        if (bytes.isEmpty())
            return;
        // A comma right after a colour code would be read as the start of a
        // background colour, a digit after a bare \x03 as a colour: an empty
        // bold pair keeps them apart.
        if ((m_colourCode && bytes.startsWith(',')) ||
            (m_bareColourCode && (std::isdigit(std::uint8_t(bytes[0])) || bytes[0] == ',')))
            m_out += "\x02\x02";
        m_colourCode = m_bareColourCode = false;
        m_out += bytes;
    }

    QByteArray result() const { return m_out; }

private:
    void put(const QByteArray &code) {
        m_out += code;
        m_colourCode = m_bareColourCode = false;
    }

    const FormatOptions &m_options;
    Style m_style;
    QByteArray m_out;
    bool m_colourCode = false;
    bool m_bareColourCode = false;
};

QString plain(QString text) {
    for (QChar &c : text) {
        // Blanks of every kind, and the characters that would end an IRC message.
        if (c == QChar::Nbsp || c == QChar::LineSeparator || c == QChar::ParagraphSeparator ||
            c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::Null ||
            c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    // Images and other objects have no text.
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}

} // namespace

QByteArray htmlToIrc(const QString &html, const FormatOptions &options) {
    Writer writer(options);
    QString link;
    const auto closeLink = [&] {
        if (!link.isEmpty())
            writer.text(QStringLiteral(" (%1)").arg(plain(link)));
        link.clear();
    };
    walkHtmlRuns(
        html,
        [&] {
            closeLink();
            writer.text(QStringLiteral(" "));
        },
        [&](const QTextCharFormat &format, const QString &text) {
            const QString href = format.isAnchor() ? format.anchorHref() : QString();
            if (href != link) {
                closeLink();
                link = href;
            }
            writer.setStyle(styleOf(format));
            writer.text(plain(text));
        });
    closeLink();
    return writer.result();
}

} // namespace irc
