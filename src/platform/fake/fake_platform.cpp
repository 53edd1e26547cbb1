#include "platform/fake/fake_platform.h"

namespace morvanta::platform::fake {

FakePlatform::FakePlatform() {
  for (const auto& folder : folders.AllFolders()) files.MakeFolders(folder);
  files.MakeFolders(system.ModulePath().substr(0, system.ModulePath().find_last_of('\\')));
}

}  // namespace morvanta::platform::fake
