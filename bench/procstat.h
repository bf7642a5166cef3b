#pragma once

#include <QtGlobal>

// What the kernel tells of a running process, read from /proc.
namespace procstat {

// Peak resident memory (VmHWM) and resident memory now (VmRSS), in KiB;
// -1 when the process is gone.
qint64 peakResidentKib(qint64 pid);
qint64 residentKib(qint64 pid);
// Voluntary context switches of all the process's threads together: each is
// a thread that went to sleep, so between two readings it counts wake-ups.
qint64 voluntarySwitches(qint64 pid);
// The monotonic clock in nanoseconds, as the benchmark build prints it.
qint64 monotonicNs();

} // namespace procstat
