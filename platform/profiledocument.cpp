#include "profiledocument.h"

#include "platform/cp1252.h"

#include <QByteArrayView>
#include <QString>

#include <algorithm>

namespace platform {

namespace {

// The blanks the profile format trims: CR and LF never reach here, they end lines.
constexpr bool isBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t' || unit == u'\v' || unit == u'\f' || unit == 0x1A;
}

std::u16string_view trimLeft(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::u16string_view trimRight(std::u16string_view text) {
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A caller's name or value as it is stored: a line break would split the line,
// so each CR and LF becomes a blank; leading blanks go.
QByteArray storedText(QByteArray text) {
    text.replace('\r', ' ').replace('\n', ' ');
    qsizetype start = 0;
    while (start < text.size() && isBlank(uchar(text[start])))
        ++start;
    return text.mid(start);
}

// A caller's name as it is matched: stored form, trailing blanks gone too.
QByteArray matchedName(const QByteArray &name) {
    QByteArray text = storedText(name);
    while (!text.isEmpty() && isBlank(uchar(text.back())))
        text.chop(1);
    return text;
}

// Only A-Z fold: the code page's own letters above 0x7F never match across case.
constexpr char16_t folded(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// Whether two names of bytes (given as code units) match.
template <typename A, typename B> bool sameName(const A &a, const B &b) {
    if (qsizetype(a.size()) != qsizetype(b.size()))
        return false;
    for (qsizetype i = 0; i < qsizetype(a.size()); ++i) {
        if (folded(char16_t(uchar(a[i]))) != folded(char16_t(uchar(b[i]))))
            return false;
    }
    return true;
}

// UTF-8 to Windows-1252; a character outside the code page, and each byte
// that does not start a well-formed sequence, become "?".
QByteArray utf8ToAnsi(QByteArrayView bytes) {
    QString text;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const uchar lead = uchar(bytes[i]);
        int length = 0;
        char32_t code = 0;
        uchar low = 0x80, high = 0xBF; // the allowed range of the second byte
        if (lead < 0x80) {
            length = 1;
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        bool valid = length > 0 && i + length <= bytes.size();
        for (int k = 1; valid && k < length; ++k) {
            const uchar next = uchar(bytes[i + k]);
            valid = next >= (k == 1 ? low : 0x80) && next <= (k == 1 ? high : 0xBF);
            code = (code << 6) | (next & 0x3F);
        }
        if (!valid) {
            text += u'?';
            ++i;
            continue;
        }
        text += code > 0xFFFF ? QChar(u'?') : QChar(char16_t(code));
        i += length;
    }
    return toCp1252(text);
}

// Names and values end at a NUL byte, as C strings do.
QByteArray cutAtNul(QByteArray text) {
    const qsizetype nul = text.indexOf('\0');
    if (nul >= 0)
        text.truncate(nul);
    return text;
}

} // namespace

ProfileDocument::ProfileDocument(const QByteArray &fileBytes) {
    QByteArrayView body(fileBytes);
    if (body.startsWith("\xEF\xBB\xBF"))
        m_encoding = Encoding::Utf8, m_bom = fileBytes.left(3);
    else if (body.startsWith("\xFF\xFE"))
        m_encoding = Encoding::Utf16Le, m_bom = fileBytes.left(2);
    else if (body.startsWith("\xFE\xFF"))
        m_encoding = Encoding::Utf16Be, m_bom = fileBytes.left(2);
    body = body.sliced(m_bom.size());

    // Sized once and filled in place: a settings file may be tens of megabytes,
    // and every access reads it whole.
    Units units;
    if (m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be) {
        const bool little = m_encoding == Encoding::Utf16Le;
        units.resize(std::size_t(body.size() / 2));
        for (std::size_t k = 0; k < units.size(); ++k) {
            const uchar first = uchar(body[2 * k]), second = uchar(body[2 * k + 1]);
            units[k] = little ? char16_t(first | second << 8) : char16_t(second | first << 8);
        }
        if (body.size() % 2)
            m_tail = body.last(1).toByteArray();
    } else {
        units.resize(std::size_t(body.size()));
        for (std::size_t k = 0; k < units.size(); ++k)
            units[k] = char16_t(uchar(body[qsizetype(k)]));
    }

    // CR LF, LF and CR each end a line.
    const UnitsView all(units);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t stop = start;
        while (stop < all.size() && all[stop] != u'\r' && all[stop] != u'\n')
            ++stop;
        if (stop == all.size()) {
            m_lines.append(Line{Units(all.substr(start)), Units()});
            break;
        }
        const std::size_t next =
            all[stop] == u'\r' && stop + 1 < all.size() && all[stop + 1] == u'\n' ? stop + 2
                                                                                  : stop + 1;
        m_lines.append(
            Line{Units(all.substr(start, stop - start)), Units(all.substr(stop, next - stop))});
        start = next;
    }
}

QByteArray ProfileDocument::toBytes() const {
    const qsizetype width =
        m_encoding == Encoding::Utf16Le || m_encoding == Encoding::Utf16Be ? 2 : 1;
    qsizetype units = 0;
    for (const Line &line : m_lines)
        units += qsizetype(line.text.size() + line.end.size());
    QByteArray out(m_bom.size() + units * width + m_tail.size(), Qt::Uninitialized);
    char *at = std::copy(m_bom.cbegin(), m_bom.cend(), out.data());
    const auto put = [&](const Units &text) {
        for (const char16_t unit : text) {
            if (m_encoding == Encoding::Utf16Le) {
                *at++ = char(unit & 0xFF);
                *at++ = char(unit >> 8);
            } else if (m_encoding == Encoding::Utf16Be) {
                *at++ = char(unit >> 8);
                *at++ = char(unit & 0xFF);
            } else {
                *at++ = char(unit);
            }
        }
    };
    for (const Line &line : m_lines) {
        put(line.text);
        put(line.end);
    }
    std::copy(m_tail.cbegin(), m_tail.cend(), at);
    return out;
}

ProfileDocument::Parsed ProfileDocument::parse(const Units &text) {
    Parsed parsed;
    const UnitsView line = trimRight(trimLeft(text));
    if (line.empty())
        return parsed;
    // A header's name runs to the last "]" of the line.
    const std::size_t close = line.front() == u'[' ? line.rfind(u']') : UnitsView::npos;
    if (close != UnitsView::npos && close > 0) {
        parsed.kind = Kind::Header;
        parsed.name = trimRight(trimLeft(line.substr(1, close - 1)));
        return parsed;
    }
    parsed.kind = Kind::Entry;
    const std::size_t equals = line.find(u'=');
    if (equals == UnitsView::npos) {
        parsed.name = line;
        return parsed;
    }
    parsed.name = trimRight(line.substr(0, equals));
    parsed.hasValue = true;
    parsed.value = trimLeft(line.substr(equals + 1));
    return parsed;
}

QByteArray ProfileDocument::toAnsi(UnitsView units) const {
    QByteArray bytes;
    switch (m_encoding) {
    case Encoding::Ansi:
    case Encoding::Utf8:
        bytes.resize(qsizetype(units.size()));
        std::transform(units.begin(), units.end(), bytes.begin(),
                       [](char16_t unit) { return char(unit); });
        return m_encoding == Encoding::Ansi ? bytes : utf8ToAnsi(bytes);
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        return toCp1252(
            QString(reinterpret_cast<const QChar *>(units.data()), qsizetype(units.size())));
    }
    return bytes;
}

ProfileDocument::Units ProfileDocument::fromAnsi(const QByteArray &text) const {
    Units units;
    switch (m_encoding) {
    case Encoding::Ansi:
        for (const char byte : text)
            units += char16_t(uchar(byte));
        break;
    case Encoding::Utf8:
        for (const char byte : fromCp1252(text).toUtf8())
            units += char16_t(uchar(byte));
        break;
    case Encoding::Utf16Le:
    case Encoding::Utf16Be:
        units = fromCp1252(text).toStdU16String();
        break;
    }
    return units;
}

QByteArray ProfileDocument::nameOf(UnitsView units) const { return cutAtNul(toAnsi(units)); }

bool ProfileDocument::nameIs(UnitsView units, const QByteArray &wanted) const {
    if (m_encoding != Encoding::Ansi)
        return sameName(nameOf(units), wanted);
    // Bytes as they stand, without a copy: every line of a huge file is asked.
    const std::size_t nul = units.find(u'\0');
    return sameName(nul == UnitsView::npos ? units : units.substr(0, nul), wanted);
}

std::optional<ProfileDocument::Section>
ProfileDocument::findSection(const QByteArray &section) const {
    qsizetype header = -1;
    if (!section.isEmpty()) {
        for (qsizetype i = 0; i < m_lines.size() && header < 0; ++i) {
            const Parsed parsed = parse(m_lines[i].text);
            if (parsed.kind == Kind::Header && nameIs(parsed.name, section))
                header = i;
        }
        if (header < 0)
            return std::nullopt;
    }
    qsizetype end = header + 1;
    while (end < m_lines.size() && parse(m_lines[end].text).kind != Kind::Header)
        ++end;
    return Section{header, header + 1, end};
}

std::optional<qsizetype> ProfileDocument::findKey(const Section &section,
                                                  const QByteArray &key) const {
    for (qsizetype i = section.begin; i < section.end; ++i) {
        const Parsed parsed = parse(m_lines[i].text);
        if (parsed.kind == Kind::Entry && nameIs(parsed.name, key))
            return i;
    }
    return std::nullopt;
}

std::optional<QByteArray> ProfileDocument::value(const QByteArray &section,
                                                 const QByteArray &key) const {
    const auto found = findSection(matchedName(section));
    const auto line = found ? findKey(*found, matchedName(key)) : std::nullopt;
    if (!line)
        return std::nullopt;
    const Parsed parsed = parse(m_lines[*line].text);
    if (!parsed.hasValue)
        return std::nullopt;
    return nameOf(parsed.value);
}

QList<QByteArray> ProfileDocument::sectionNames() const {
    QList<QByteArray> names;
    for (const Line &line : m_lines) {
        const Parsed parsed = parse(line.text);
        if (parsed.kind == Kind::Header && !nameOf(parsed.name).isEmpty())
            names.append(nameOf(parsed.name));
    }
    return names;
}

QList<QByteArray> ProfileDocument::keyNames(const QByteArray &section) const {
    QList<QByteArray> names;
    const auto found = findSection(matchedName(section));
    for (qsizetype i = found ? found->begin : 0; found && i < found->end; ++i) {
        const Parsed parsed = parse(m_lines[i].text);
        const QByteArray name = nameOf(parsed.name);
        if (parsed.kind == Kind::Entry && parsed.hasValue && !name.isEmpty() &&
            !name.startsWith(';'))
            names.append(name);
    }
    return names;
}

// The file's own line ending, that of its first line; CRLF when it has none.
ProfileDocument::Units ProfileDocument::newline() const {
    if (!m_lines.isEmpty() && !m_lines.first().end.empty())
        return m_lines.first().end;
    return u"\r\n";
}

void ProfileDocument::insertLine(qsizetype at, const Units &text) {
    const Units end = newline();
    if (at > 0 && m_lines[at - 1].end.empty())
        m_lines[at - 1].end = end;
    m_lines.insert(at, Line{text, end});
}

bool ProfileDocument::setValue(const QByteArray &section, const QByteArray &key,
                               const QByteArray &value) {
    const Units stored = fromAnsi(storedText(value));
    const Units entry = fromAnsi(storedText(key)) + u'=' + stored;
    const auto found = findSection(matchedName(section));
    if (!found) {
        insertLine(m_lines.size(), u'[' + fromAnsi(storedText(section)) + u']');
        insertLine(m_lines.size(), entry);
        return true;
    }
    if (const auto line = findKey(*found, matchedName(key))) {
        const Parsed parsed = parse(m_lines[*line].text);
        if (parsed.hasValue && parsed.value == stored)
            return false;
        // The key keeps the spelling the file gives it.
        m_lines[*line].text = Units(parsed.name) + u'=' + stored;
        return true;
    }
    // After the section's last non-blank line, so blank separators stay put.
    qsizetype at = found->begin;
    for (qsizetype i = found->begin; i < found->end; ++i) {
        if (parse(m_lines[i].text).kind != Kind::Blank)
            at = i + 1;
    }
    insertLine(at, entry);
    return true;
}

bool ProfileDocument::removeKey(const QByteArray &section, const QByteArray &key) {
    const auto found = findSection(matchedName(section));
    const auto line = found ? findKey(*found, matchedName(key)) : std::nullopt;
    if (!line)
        return false;
    m_lines.remove(*line);
    return true;
}

bool ProfileDocument::removeSection(const QByteArray &section) {
    const auto found = findSection(matchedName(section));
    if (!found)
        return false;
    const qsizetype first = found->header >= 0 ? found->header : found->begin;
    if (first == found->end)
        return false;
    m_lines.remove(first, found->end - first);
    return true;
}

} // namespace platform
