#pragma once

namespace pellimo {

// Runs the whole program: start-up, the main window or the hidden Set, the clipboard after exit.
int runApplication(int argc, char **argv);

} // namespace pellimo
