#include "ui/database_link.h"

namespace morvanta::ui {

DatabaseLink::DatabaseLink(platform::Platform p, common::MessageCatalog& catalog)
    : platform_(p), catalog_(catalog), programFolder_(database::ProgramFolder(p.system)) {}

ApplicationServices DatabaseLink::Services() {
  return ApplicationServices{
      platform_, catalog_,
      [this](std::string& error) {
        auto result = database_.LoadDatabase(platform_.files, programFolder_ + "files.dat");
        if (!result.ok()) error = result.message;
        return result.ok();
      },
      [this] { return database_.DatabaseDate(catalog_); }};
}

}  // namespace morvanta::ui
