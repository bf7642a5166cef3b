#pragma once

#include <QByteArray>
#include <QList>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The text of a profile (INI) file, kept line by line exactly as read, so an
// edit changes only the line it replaces, adds or removes. Names and values go
// in and out as Windows-1252 bytes whatever the file's own encoding (plain
// bytes, or UTF-8 / UTF-16 behind a byte order mark).
//
// Section and key names match ignoring the case of A-Z only, after trimming
// blanks. Lines above the first section header form a section with the empty
// name. Only the first section of a name counts, and in it the first key.
class ProfileDocument {
public:
    explicit ProfileDocument(const QByteArray &fileBytes = {});
    QByteArray toBytes() const;

    // The key's value, trimmed and cut at a NUL byte; nothing when the
    // section or key is missing or the key's line has no "=".
    std::optional<QByteArray> value(const QByteArray &section, const QByteArray &key) const;
    // The names of the sections with a header, in file order.
    QList<QByteArray> sectionNames() const;
    // The names of the section's keys that have a value, comments left out.
    QList<QByteArray> keyNames(const QByteArray &section) const;

    // The edits; each tells whether the text changed.
    bool setValue(const QByteArray &section, const QByteArray &key, const QByteArray &value);
    bool removeKey(const QByteArray &section, const QByteArray &key);
    bool removeSection(const QByteArray &section);

private:
    enum class Encoding { Ansi, Utf8, Utf16Le, Utf16Be };
    // Text in code units: bytes for Ansi and UTF-8, 16-bit units for UTF-16.
    using Units = std::u16string;
    using UnitsView = std::u16string_view;
    struct Line {
        Units text;
        Units end; // "\r\n", "\n", "\r", or empty on a last line without one
    };
    enum class Kind { Blank, Header, Entry };
    struct Parsed {
        Kind kind = Kind::Blank;
        UnitsView name;
        bool hasValue = false;
        UnitsView value;
    };
    // The lines of one section: its header (-1 for the lines above every
    // header) and the range of lines after it.
    struct Section {
        qsizetype header;
        qsizetype begin;
        qsizetype end;
    };

    static Parsed parse(const Units &text);
    QByteArray toAnsi(UnitsView units) const;
    Units fromAnsi(const QByteArray &text) const;
    QByteArray nameOf(UnitsView units) const;
    // Whether the name matches `wanted` as sameName would match nameOf(units).
    bool nameIs(UnitsView units, const QByteArray &wanted) const;
    std::optional<Section> findSection(const QByteArray &section) const;
    std::optional<qsizetype> findKey(const Section &section, const QByteArray &key) const;
    Units newline() const;
    void insertLine(qsizetype at, const Units &text);

    Encoding m_encoding = Encoding::Ansi;
    QByteArray m_bom;
    QList<Line> m_lines;
    QByteArray m_tail; // the odd last byte of a UTF-16 file
};

} // namespace platform
