#include "inspect/keyboard_filters.h"

#include "platform/text.h"
#include "platform/types.h"

namespace morvanta::inspect {

const char* const kKeyboardClassKey =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96B-E325-11CE-BFC1-08002BE10318}";

namespace {

const char kUpperFilters[] = "UpperFilters";
const char kPlaceholder[] = "No Keyboard Filter driver found!";

enum class ReadResult { Ok, Missing, TooLong, WrongType };

// The value in its blank-padded buffer.
ReadResult ReadUpperFilters(platform::RegistryKey& key, std::vector<uint8_t>& buffer) {
  buffer.assign(kUpperFiltersBufferBytes, ' ');
  auto value = key.ReadValue(kUpperFilters);
  if (!value) return ReadResult::Missing;
  if (value->type != platform::RegType::MultiString && value->type != platform::RegType::Binary)
    return ReadResult::WrongType;
  if (value->data.size() > kUpperFiltersBufferBytes) return ReadResult::TooLong;
  std::copy(value->data.begin(), value->data.end(), buffer.begin());
  return ReadResult::Ok;
}

std::string DriverFile(platform::Platform& p, const std::string& name) {
  const std::string system = p.folders.SystemDirectory();
  const std::string candidates[] = {system + "\\Drivers\\" + name + ".sys",
                                    system + "\\" + name + ".sys"};
  for (const auto& c : candidates)
    if (p.files.Exists(c)) return c;
  return "";
}

}  // namespace

std::vector<std::string> UpperFilterNamesAfterFirst(const std::vector<uint8_t>& data) {
  std::string buf(data.begin(), data.end());
  if (buf.size() < kUpperFiltersBufferBytes) buf.resize(kUpperFiltersBufferBytes, ' ');
  const size_t n = buf.size();
  std::vector<std::string> names;
  size_t i = 1;
  while (i < n) {
    while (i < n && buf[i] != '\0') ++i;
    if (i >= n) break;
    if (i + 1 < n && buf[i + 1] == '\0') break;
    while (i < n && buf[i] == '\0') ++i;
    if (i >= n) break;
    const size_t start = i;
    while (i < n && buf[i] != '\0') ++i;
    std::string name = platform::TrimControls(buf.substr(start, i - start));
    // blanks of the padding behind a value without its final NUL name nothing
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

KeyboardFilterListing ListKeyboardFilters(platform::Platform& p) {
  KeyboardFilterListing listing;
  auto key = p.registry.OpenKey(platform::RegRoot::LocalMachine, kKeyboardClassKey,
                                platform::RegAccess::Read);
  if (key) {
    std::vector<uint8_t> buffer;
    switch (ReadUpperFilters(*key, buffer)) {
      case ReadResult::Ok:
        for (const auto& name : UpperFilterNamesAfterFirst(buffer))
          listing.rows.push_back({name, DriverFile(p, name), ""});
        break;
      case ReadResult::Missing:
        break;
      case ReadResult::TooLong:
        listing.rows.push_back({"UpperFilters can not be read!", "", "The value is too long"});
        listing.notice = true;
        return listing;
      case ReadResult::WrongType:
        listing.rows.push_back({"UpperFilters can not be read!", "", "The value has another type"});
        listing.notice = true;
        return listing;
    }
  }
  if (listing.rows.empty()) {
    listing.rows.push_back({kPlaceholder, "", ""});
    listing.notice = true;
  }
  return listing;
}

std::string FilterPathCellText(const KeyboardFilterRow& row) {
  if (!row.note.empty() || row.name == kPlaceholder) return row.note;
  return row.file.empty() ? "File not found" : row.file;
}

FilterRemoval RemoveKeyboardFilter(platform::Platform& p, KeyboardFilterRow row,
                                   common::Prompts& prompts, KeyboardFilterListing& listing) {
  auto key = p.registry.OpenKey(platform::RegRoot::LocalMachine, kKeyboardClassKey,
                                platform::RegAccess::Read);
  if (!key) return FilterRemoval::NotRemoved;
  std::vector<uint8_t> buffer;
  if (ReadUpperFilters(*key, buffer) != ReadResult::Ok) return FilterRemoval::NotRemoved;
  key.reset();

  std::vector<std::string> kept;
  bool anything = false;
  for (uint8_t b : buffer) anything = anything || b != ' ';
  if (anything) {
    size_t end = 0;
    while (end < buffer.size() && buffer[end] != 0) ++end;
    kept.emplace_back(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(end));
  }
  for (const auto& name : UpperFilterNamesAfterFirst(buffer))
    if (name != row.name) kept.push_back(name);

  auto writable =
      p.registry.OpenKey(platform::RegRoot::LocalMachine, kKeyboardClassKey,
                         platform::RegAccess::Write);
  if (!writable) return FilterRemoval::NoAccess;

  if (!prompts.Ask({common::PromptKind::Irreversible, common::Msg::None,
                    "Disable [" + row.name + "] ?"}))
    return FilterRemoval::Refused;

  const bool written = writable->WriteValue(kUpperFilters, platform::RegValue::FromMultiString(kept));
  writable.reset();
  listing = ListKeyboardFilters(p);
  if (!written) return FilterRemoval::NotRemoved;
  // The driver file stays while any registered name still loads it, the first one included.
  if (!kept.empty() && platform::EqualsNoCase(kept.front(), row.name)) return FilterRemoval::StillListed;
  if (!listing.notice)
    for (const auto& r : listing.rows)
      if (platform::EqualsNoCase(r.name, row.name)) return FilterRemoval::StillListed;
  // A row without a driver file has nothing to rename; a failed rename stays silent.
  if (!row.file.empty()) p.files.MoveFile(row.file, row.file + ".del");
  return FilterRemoval::Removed;
}

}  // namespace morvanta::inspect
