#include "app/settings.h"

namespace morvanta::app {

const char kChooserOptionsKey[] = "Software\\Quorrin\\Morvanta Pro\\Options";
const char kChooserValue[] = "0";

std::optional<bool> ReadShowChooser(platform::Registry& registry) {
  platform::RegistryObject reg(registry);
  if (!reg.OpenKey(kChooserOptionsKey, false)) return std::nullopt;
  auto value = reg.ReadInteger(kChooserValue);
  return value ? *value != 0 : true;
}

bool WriteShowChooser(platform::Registry& registry, bool show) {
  platform::RegistryObject reg(registry);
  return reg.OpenKey(kChooserOptionsKey, true) && reg.WriteInteger(kChooserValue, show ? 1 : 0);
}

}  // namespace morvanta::app
