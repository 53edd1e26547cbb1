// The program entry.
#include "app/program_entry.h"
#include "app/session.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "ui/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace morvanta;
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
