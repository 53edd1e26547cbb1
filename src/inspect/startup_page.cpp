#include "inspect/startup_page.h"

#include "app/questions.h"
#include "remedy/regbase_file.h"

namespace morvanta::inspect {

void StartupPage::Refresh() {
  list_.Clear();
  entries_.clear();
  auto regBase = remedy::ReadRegBase(p_.files, regBasePath_);
  if (!regBase) return;
  if (regBase->count && report_.Writing()) report_.WriteLine("Startup files:");
  remedy::WalkRegBase(p_.registry, *regBase, [this](const remedy::RegBaseValue& v) {
    list_.AddRow(v.name, {v.data});
    entries_.push_back(StartupF{v.root, v.keyPath, v.name, v.data});
    if (!report_.Writing()) return;
    report_.WriteLine(std::string(platform::RegRootName(v.root)) + "\\" + v.keyPath + "\\" +
                      v.name);
    report_.WriteLine("[" + v.data + "]");
  });
}

void StartupPage::DeleteValues(platform::WindowHandle owner) {
  if (p_.dialogs.Show(app::MainWindowQuestion(catalog_, 67, owner)) !=
      platform::MessageAnswer::Yes)
    return;

  auto error = [&](const std::string& text) {
    platform::Message m;
    m.text = text;
    m.caption = catalog_.Text(2);
    m.icon = platform::MessageIcon::Error;
    m.owner = owner;
    p_.dialogs.Show(m);
  };
  for (int row = 0; row < list_.RowCount(); ++row) {
    if (!list_.IsChecked(row)) continue;
    const std::string name = list_.Caption(row);
    const std::string value = list_.SubItem(row, 0);
    for (const StartupF& entry : entries_) {
      if (entry.Name != name || entry.Value != value) continue;
      platform::RegistryObject reg(p_.registry);
      reg.SetRootKey(entry.RootKey);
      if (!reg.OpenKey(entry.Key, true)) {
        error(catalog_.Text(69) + entry.Name + catalog_.Text(70));
      } else if (reg.ValueExists(entry.Name) && !reg.DeleteValue(entry.Name)) {
        error(catalog_.Text(68) + entry.Name + "\r" + entry.Value);
      }
      break;  // only the first matching entry is handled per row
    }
  }

  platform::Message done;
  done.text = catalog_.Text(71);
  done.caption = catalog_.Text(23);
  done.icon = platform::MessageIcon::Information;
  done.owner = owner;
  p_.dialogs.Show(done);
  Refresh();
}

}  // namespace morvanta::inspect
