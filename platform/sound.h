#pragma once

#include <QString>

namespace platform {

// Starts playing a WAV file and returns at once. Silent when the file cannot
// be played or there is no audio device; never blocks the caller.
void playSoundAsync(const QString &path);

} // namespace platform
