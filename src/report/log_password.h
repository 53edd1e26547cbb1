// The log server account's password. It stands nowhere whole in the program: it is put
// together from its pieces just before each upload.
#pragma once

#include <string>

namespace morvanta::report {

std::string BuildLogPassword();

}  // namespace morvanta::report
