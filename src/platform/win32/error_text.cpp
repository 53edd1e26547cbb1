#include "platform/win32/error_text.h"

#include "platform/win32/handle.h"

namespace morvanta::platform::win32 {

std::string ErrorText(unsigned long code) {
  LocalMemory buffer;
  DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(buffer.Put()), 0, nullptr);
  if (length == 0 || !buffer) return "Error " + std::to_string(code);
  std::string text(buffer.Get(), length);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
    text.pop_back();
  return text;
}

}  // namespace morvanta::platform::win32
