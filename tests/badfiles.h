#pragma once

#include <QByteArray>

// Settings files that are damaged or huge, made the same way for the tests
// and the benchmark. Where the file holds a style, it is the section
// `styleSection` gives, and it stands last, so a read walks the whole file.
namespace badfiles {

// A style section as the program writes one, with the given line ending.
QByteArray styleSection(const QByteArray &end = "\r\n");
// `size` bytes of seeded random junk.
QByteArray junk(qsizetype size);
// `count` sections of other names before the style section.
QByteArray manySections(int count);
// At least `size` bytes: filler keys in our section, the style's keys last.
QByteArray bigFile(qsizetype size);

} // namespace badfiles
