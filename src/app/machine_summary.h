// A short description of the machine the program runs on, composed from the platform: the
// start window shows it until the main window takes its place.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace morvanta::app {

// Label and value pairs, in display order.
std::vector<std::pair<std::string, std::string>> DescribeMachine(platform::Platform p);

}  // namespace morvanta::app
