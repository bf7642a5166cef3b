#pragma once

#include <QString>
#include <memory>

namespace platform {

// Held around a read-modify-write of a file that each write replaces, so
// that writers in other processes never lose each other's changes. A writer
// that dies drops it. Released when destroyed.
class WriteLock {
public:
    explicit WriteLock(const QString &file);
    ~WriteLock();
    WriteLock(const WriteLock &) = delete;
    WriteLock &operator=(const WriteLock &) = delete;

    bool isHeld() const;
    // Makes a rename in the file's folder durable, where the OS needs that.
    void syncFolder();

private:
    struct Os;
    std::unique_ptr<Os> m_os;
};

} // namespace platform
