// The program's run: load the driver, configure it, open the display, run the
// actions, close, save the settings.
#pragma once

#include <cstdio>

#include "CommandLine.h"

namespace lumora::app {

// Exit status: 0 done, 1 a failure while running (driver, port, display,
// settings), 2 a command line that does not fit the display.
int RunProgram(const Options& options, std::FILE* out, std::FILE* err);

}  // namespace lumora::app
