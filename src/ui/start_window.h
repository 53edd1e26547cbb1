// The program's first window: what the platform layer sees of this machine, in a list.
#pragma once

#include "platform/platform.h"

namespace morvanta::ui {

// Creates the window, runs the message loop until it closes; the exit code.
int RunStartWindow(platform::Platform p);

}  // namespace morvanta::ui
