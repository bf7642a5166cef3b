#pragma once

#include <QString>
#include <functional>

namespace hostlink {

// Keeps the closing announcement the program's last word in the room. Once
// the program is told to end, the announcement under way stops where it
// stands: every pause ends at once and chatSend drops every line, whoever
// posts it. The closing announcement alone still goes out, at its own pace,
// and after its last line nothing reaches the room at all.
//
// A run of the program holds one Goodbye, which the link heeds while it
// lives; without one nothing is held back.
class Goodbye {
public:
    Goodbye();
    ~Goodbye();
    Goodbye(const Goodbye &) = delete;
    Goodbye &operator=(const Goodbye &) = delete;

    // The program is told to end; again changes nothing.
    void begin();

private:
    enum class Stage { Talking, Ending, Said };
    Stage m_stage = Stage::Talking;
    bool m_closingLine = false; // a closing line is on its way
    Goodbye *m_previous;

    friend bool isEnding();
    friend bool mayPost();
    friend void sayGoodbye(const QString &, int, const std::function<QString()> &);
};

// Whether the program has begun to end: a pause then ends at once.
bool isEnding();
// Whether a line may reach the room now.
bool mayPost();

// The closing announcement: posts `first`, waits `seconds` as pause does,
// then posts the line `last` builds, all of it even once the program is
// ending, which this begins. After it nothing reaches the room, not even a
// second closing announcement.
void sayGoodbye(const QString &first, int seconds, const std::function<QString()> &last);

} // namespace hostlink
