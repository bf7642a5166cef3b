#pragma once

namespace app {

// The program: the main window loads, announces itself and shows; the
// program ends when its last window closes.
int run(int argc, char **argv);

// What every start does before the main window loads: the fonts the windows
// name, and the settings folder.
void prepareStart();

} // namespace app
