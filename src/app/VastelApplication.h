#pragma once

namespace vastel {

// Starts the desktop program: title, style, dialogs, the run-long windows, the message loop.
int runVastel(int argc, char** argv);

}  // namespace vastel
