#include "app/server_settings.h"

#include <cstdlib>

#include "platform/text.h"

namespace morvanta::app {
namespace {

std::string Trim(std::string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t' ||
                         text[end - 1] == '\r'))
    --end;
  return std::string(text.substr(begin, end - begin));
}

// A decimal number from `low` to `high`, nothing else on the line.
std::optional<uint32_t> Number(const std::string& text, uint32_t low, uint32_t high) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  uint32_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (value < low || value > high) return std::nullopt;
  return value;
}

void SetLogServer(LogServerSettings& log, const std::string& key, const std::string& value) {
  if (key == "host" && !value.empty()) {
    log.host = value;
  } else if (key == "port") {
    if (auto port = Number(value, 1, 65535)) log.port = static_cast<uint16_t>(*port);
  } else if (key == "account" && !value.empty()) {
    log.account = value;
  } else if (key == "password") {
    log.password = value;
  } else if (key == "timeoutseconds") {
    if (auto seconds = Number(value, 1, 3600)) log.timeoutSeconds = *seconds;
  }
}

void SetUpdateServer(UpdateServerSettings& update, const std::string& key,
                     const std::string& value) {
  if (key == "host" && !value.empty()) {
    update.host = value;
  } else if (key == "port") {
    if (auto port = Number(value, 1, 65535)) update.port = static_cast<uint16_t>(*port);
  }
}

}  // namespace

ServerSettings ParseServerSettings(std::string_view text) {
  ServerSettings settings;
  std::string section;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = Trim(text.substr(at, end - at));
    at = end + 1;
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      // "[Name]", maybe with a comment after it.
      const size_t close = line.find(']');
      const bool rest = close != std::string::npos &&
                        (close + 1 == line.size() || Trim(line.substr(close + 1))[0] == ';');
      section = rest ? platform::AsciiLower(Trim(line.substr(1, close - 1))) : std::string();
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = platform::AsciiLower(Trim(line.substr(0, equals)));
    std::string value = line.substr(equals + 1);
    // A comment after the value, as the file's own example has them; a password is taken
    // whole, whatever it holds.
    const size_t comment = value.find(" ;");
    if (comment != std::string::npos && key != "password") value.erase(comment);
    value = Trim(value);
    if (section == "logserver") SetLogServer(settings.log, key, value);
    if (section == "updateserver") SetUpdateServer(settings.update, key, value);
  }
  return settings;
}

ServerSettings LoadServerSettings(platform::Files& files, const std::string& programFolder) {
  const auto bytes = files.ReadAll(programFolder + kServerSettingsFile);
  if (!bytes) return ServerSettings{};
  return ParseServerSettings(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace morvanta::app
