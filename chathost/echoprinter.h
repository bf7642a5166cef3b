#pragma once

#include <QByteArray>
#include <QString>
#include <cstdio>

namespace chathost {

// Prints each posted line as plain text: tags stripped, entities decoded, and
// on a terminal in the line's font colours (24-bit ANSI colours).
class EchoPrinter {
public:
    // Colours are used when `colour` is set; by default when `out` is a terminal.
    explicit EchoPrinter(std::FILE *out);
    EchoPrinter(std::FILE *out, bool colour);

    void print(const QString &room, const QString &screenName, const QString &line);
    // A room's status line (the connection, who came and went): "[room] -- text".
    void printStatus(const QString &room, const QString &text);
    // What print writes for one line, LF included.
    QByteArray format(const QString &room, const QString &screenName, const QString &line) const;

private:
    std::FILE *m_out;
    bool m_colour;
};

} // namespace chathost
