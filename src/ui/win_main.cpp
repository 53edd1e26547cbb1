// The program entry.
#include "common/message_catalog.h"
#include "app/program_entry.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win_api.h"
#include "ui/application.h"
#include "ui/database_link.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace morvanta;
  common::MessageCatalog catalog;  // the built-in English texts, first of all
  platform::win32::Win32Platform real;
  platform::Platform p = real.Get();
  if (app::DecideEntryMode(p.system.ModulePath()) == app::EntryMode::Upgrade) {
    // The freshly downloaded upgrade replaces the installed program; it opens no window.
    return 0;
  }
  ui::DatabaseLink database(p, catalog);
  app::DeleteLeftoverUpgrade(p.files, database.ProgramFolder());
  ui::Application application(database.Services());
  if (!application.CreateWindows()) return 1;
  return application.Run();
}
