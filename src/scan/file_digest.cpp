#include "scan/file_digest.h"

#include <limits>

#include "scan/md5.h"

namespace morvanta::scan {

std::string DigestBytes(const uint8_t* data, size_t size) {
  Md5 md5;
  md5.Update(data, size);
  static const char kHex[] = "0123456789abcdef";
  std::string text(2 * Md5::kDigestSize, '0');
  size_t at = 0;
  for (uint8_t b : md5.Final()) {
    text[at++] = kHex[b >> 4];
    text[at++] = kHex[b & 0x0F];
  }
  return text;
}

std::optional<std::string> ReadFileDigest(platform::Files& files, const std::string& path) {
  auto view = files.MapReadOnly(path);
  if (!view || !view->Data()) {
    auto file = files.Open(path, platform::OpenMode::Read);
    if (file && file->Size() == 0) return std::string(kEmptyDigest);
    return std::nullopt;
  }
  const uint64_t low32 = static_cast<uint64_t>(view->Size()) & 0xFFFFFFFFull;
  return DigestBytes(view->Data(), static_cast<size_t>(low32));
}

std::string FileDigest(platform::Files& files, const std::string& path) {
  return ReadFileDigest(files, path).value_or(kEmptyDigest);
}

int32_t FileSize(platform::Files& files, const std::string& path) {
  auto file = files.Open(path, platform::OpenMode::Read);
  if (!file) return 0;
  const uint64_t size = file->Size();
  constexpr uint64_t kLargest = static_cast<uint64_t>(std::numeric_limits<int32_t>::max());
  return static_cast<int32_t>(size > kLargest ? kLargest : size);
}

}  // namespace morvanta::scan
