// The program entry.
#include <cstring>

#include "app/program_entry.h"
#include "app/session.h"
#include "morvanta_version.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "ui/application.h"

namespace {

// "morvanta.exe --version": the window program has no console of its own, so it writes into
// the output it was handed (a file or a pipe), else into its caller's console, else a box.
void ShowVersion() {
  const char text[] = "morvanta (" MORVANTA_PRODUCT_NAME ") " MORVANTA_VERSION "\n";
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS))
    out = ::CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr);
  DWORD written = 0;
  if (out != nullptr && out != INVALID_HANDLE_VALUE &&
      ::WriteFile(out, text, sizeof text - 1, &written, nullptr))
    return;
  ::MessageBoxA(nullptr, text, MORVANTA_PRODUCT_NAME, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  using namespace morvanta;
  if (commandLine && std::strcmp(commandLine, "--version") == 0) {
    ShowVersion();
    return 0;
  }
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  if (app::DecideEntryMode(p.system.ModulePath()) == app::EntryMode::Upgrade) {
    // The freshly downloaded upgrade replaces the installed program; it opens no window.
    return app::ReplaceInstalledProgram(p, p.system.ModulePath()) ? 0 : 1;
  }
  // The session's catalogue holds the built-in English texts before any window exists.
  app::Session session(p);
  app::DeleteLeftoverUpgrade(p.files, session.ProgramFolder());
  ui::Application application(session);
  if (!application.CreateWindows()) return 1;
  return application.Run();
}
