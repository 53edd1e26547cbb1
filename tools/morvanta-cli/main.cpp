// morvanta-cli: the program's logic on the console, over the real machine.
#include <iostream>
#include <string>
#include <vector>

#include "app/session.h"
#include "cli.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"

namespace {

morvanta::common::AbortFlag* g_abort = nullptr;

// Ctrl+C and Ctrl+Break set the run's abort flag (from the console's own thread); the scan
// stops at its next test and the program ends with its summary.
BOOL WINAPI OnConsoleBreak(DWORD event) {
  if ((event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) && g_abort) {
    g_abort->Set();
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace morvanta;
  platform::win32::Win32Platform real;
  app::Session session(real.Get());
  g_abort = &session.Abort();
  ::SetConsoleCtrlHandler(&OnConsoleBreak, TRUE);
  const int code =
      cli::Run(session, std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
  g_abort = nullptr;
  return code;
}
