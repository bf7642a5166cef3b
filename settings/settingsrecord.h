#pragma once

#include <QString>

namespace settings {

// The six fields of the current settings record. The main window keeps them
// as the captions of its labels; the comment names the label and the key.
enum class Field {
    StyleName,   // Label12, "preset"
    FontColour,  // Label8,  "pfcolor"  (C)
    AsciiColour, // Label11, "pacolor"  (A)
    FrontAscii,  // Label5,  "pfascii"  (F)
    MiddleAscii, // Label6,  "pmascii"  (M)
    BackAscii,   // Label7,  "pbascii"  (B)
};

// The current settings record: whoever holds the six fields.
class SettingsRecord {
public:
    virtual ~SettingsRecord() = default;
    virtual QString caption(Field field) const = 0;
    virtual void setCaption(Field field, const QString &text) = 0;
    // The face name of the running window's font ("font" setting); it changes
    // nothing the user sees, so a record may ignore it.
    virtual void setFontFace(const QString &face) { (void)face; }
};

// A record kept in plain strings, for code and tests that hold no window.
class PlainRecord : public SettingsRecord {
public:
    QString caption(Field field) const override { return m_fields[int(field)]; }
    void setCaption(Field field, const QString &text) override { m_fields[int(field)] = text; }

private:
    QString m_fields[6];
};

} // namespace settings
