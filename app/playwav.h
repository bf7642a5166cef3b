#pragma once

#include <QString>

namespace app {

// Starts playing a WAV file, if it exists as an ordinary file, and returns at
// once; a file that cannot be played stays silent.
void playWav(const QString &path);

// The click sound "menu.wav": the installed copy in the data folder of the
// install prefix, or the build's own when zorvel runs from its build folder;
// on Windows the one beside the program.
QString clickSoundPath();

} // namespace app
