#pragma once

#include <QString>

namespace platform {

// Starts playing a WAV file (a path, or on Unix a resource path ":/...") and
// returns at once. Silent when the file cannot be played or there is no audio
// device; never blocks the caller.
void playSoundAsync(const QString &path);

} // namespace platform
