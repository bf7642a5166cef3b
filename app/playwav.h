#pragma once

#include <QString>

namespace app {

// Starts playing a WAV file, if it exists as an ordinary file or is one of the
// program's resources (":/..."), and returns at once; a file that cannot be
// played stays silent.
void playWav(const QString &path);

// The click sound "menu.wav": on Windows the file beside the program; on
// Linux the copy the build embeds in the program (a resource path).
QString clickSoundPath();

} // namespace app
