#include "scan/lint.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "database/threat_database.h"
#include "scan/entry_reader.h"
#include "scan/name_range.h"
#include "scan/path_tokens.h"

namespace morvanta::scan {
namespace {

using database::kDateLineLength;
using database::kEndLine;
using database::kMaxLineLength;

enum class Ending { CrLf, Lf, Cr, None };

struct Line {
  size_t number;
  std::string_view text;
  Ending ending;
};

// Lines as an editor numbers them: ended by CR LF, by a lone LF or by a lone CR.
std::vector<Line> SplitLines(std::string_view all) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < all.size()) {
    const size_t stop = all.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back({lines.size() + 1, all.substr(start), Ending::None});
      break;
    }
    Ending ending = Ending::Lf;
    size_t next = stop + 1;
    if (all[stop] == '\r') {
      const bool lf = next < all.size() && all[next] == '\n';
      ending = lf ? Ending::CrLf : Ending::Cr;
      if (lf) ++next;
    }
    lines.push_back({lines.size() + 1, all.substr(start, stop - start), ending});
    start = next;
  }
  return lines;
}

// A folder token as the templates write it: "%%" + name + "%%", one of the expander's.
bool IsFolderToken(std::string_view token) {
  for (const PathToken& known : PathTokens())
    if (("%%" + std::string(token) + "%%") == known.token) return true;
  return false;
}

// The parser's section lines, in its order.
const std::array<SectionMarker, 4>& kSections = SectionMarkers();

// The section a line opens, as an index into kSections; -1 for other lines.
int SectionOf(std::string_view text) {
  for (size_t i = 0; i < kSections.size(); ++i) {
    if (platform::StartsWith(text, kSections[i].marker)) return static_cast<int>(i);
  }
  return -1;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool IsDigest(std::string_view text) {
  return text.size() == 32 && std::all_of(text.begin(), text.end(), [](char c) {
           return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
         });
}

class Linter {
 public:
  explicit Linter(std::string_view all) : lines_(SplitLines(all)) {}

  std::vector<LintProblem> Run() {
    if (lines_.empty()) {
      Report(0, "empty text: a database starts with its date line and ends with \"_end\"");
      return std::move(problems_);
    }
    for (const Line& line : lines_) CheckLayout(line);
    CheckDateLine(lines_.front());
    const size_t end = FindEndLine();
    CheckEntries(end);
    std::stable_sort(problems_.begin(), problems_.end(),
                     [](const LintProblem& a, const LintProblem& b) { return a.line < b.line; });
    return std::move(problems_);
  }

 private:
  void Report(size_t line, std::string message) { problems_.push_back({line, std::move(message)}); }

  void CheckLayout(const Line& line) {
    switch (line.ending) {
      case Ending::CrLf:
        break;
      case Ending::Lf:
        Report(line.number, "line ends in LF without CR; lines end in CR LF");
        break;
      case Ending::Cr:
        Report(line.number, "line ends in CR without LF; lines end in CR LF");
        break;
      case Ending::None:
        Report(line.number, "last line has no CR LF; the reader loses it");
        break;
    }
    if (line.text.size() > kMaxLineLength) {
      Report(line.number, "line is " + std::to_string(line.text.size()) + " bytes long; at most " +
                              std::to_string(kMaxLineLength) + " are read as one line");
    }
    for (size_t i = 0; i < line.text.size(); ++i) {
      const auto c = static_cast<unsigned char>(line.text[i]);
      if (c < 0x20 || c == 0x7F) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", c);
        Report(line.number,
               std::string("control character ") + hex + " at column " + std::to_string(i + 1));
        break;
      }
    }
  }

  void CheckDateLine(const Line& line) {
    if (line.text.size() != kDateLineLength) {
      Report(line.number, "date line must be " + std::to_string(kDateLineLength) +
                              " characters, not " + std::to_string(line.text.size()));
    }
    // The update reads its partial-update counter from the text after ", Upd ".
    constexpr std::string_view kUpd = ", Upd ";
    const size_t at = line.text.find(kUpd);
    if (at == std::string_view::npos) return;
    std::string counter;
    std::string_view rest = line.text.substr(at);
    while (!rest.empty()) {
      if (platform::StartsWith(rest, kUpd)) {
        rest.remove_prefix(kUpd.size());
        continue;
      }
      if (rest.front() != ' ' && rest.front() != '.') counter += rest.front();
      rest.remove_prefix(1);
    }
    if (counter.empty() ||
        !std::all_of(counter.begin(), counter.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      Report(line.number, "update number after \", Upd \" must be a decimal number");
    }
  }

  // Index of the line the reader stops at: the first "_end" after the date line, or the
  // last line. Reports a missing end line and lines hidden behind an early one.
  size_t FindEndLine() {
    const size_t last = lines_.size() - 1;
    for (size_t i = 1; i < lines_.size(); ++i) {
      if (lines_[i].text != kEndLine) continue;
      if (i != last) {
        Report(lines_[i].number, "end line \"_end\" before the last line: the " +
                                     std::to_string(last - i) + " lines after it are never read");
      }
      return i;
    }
    Report(lines_[last].number, "the last line must be the end line \"_end\"");
    // Without an end line the reader returns "_end" for the last line with its CR LF, so
    // that line is lost as well; still check it, it is meant as an entry.
    return lines_.size();
  }

  // Follows the scan's reading loop: up to one line of each section kind, in their order,
  // then an entry line.
  void CheckEntries(size_t end) {
    size_t i = 1;
    bool hasBase = false;
    while (i < end) {
      int previous = -1;
      for (int kind = 0; kind < static_cast<int>(kSections.size()) && i < end; ++kind) {
        const Line& line = lines_[i];
        if (!platform::StartsWith(line.text, kSections[kind].marker)) continue;
        CheckSectionLine(line, kind);
        hasBase = kSections[kind].namesRoot;
        previous = kind;
        ++i;
      }
      if (i >= end) {
        if (previous >= 0) {
          Report(lines_[i - 1].number,
                 "section line must be followed by an entry line; the end line would be "
                 "read as an entry");
        }
        return;
      }
      const Line& line = lines_[i];
      const int out = SectionOf(line.text);
      if (out >= 0) {
        Report(
            line.number,
            "section line " + std::string(kSections[out].marker) + " directly after " +
                std::string(previous >= 0 ? kSections[previous].marker : "the same section kind") +
                " is read as an entry line; section lines may only follow "
                "each other in the order [Start], [Win32Root], "
                "[System32Root], [ProgramFiles32Root]");
      } else {
        CheckEntry(line, hasBase);
      }
      ++i;
    }
  }

  void CheckSectionLine(const Line& line, int kind) {
    const SectionMarker& section = kSections[kind];
    std::string_view rest = line.text.substr(std::string_view(section.marker).size());
    if (!section.namesRoot) {
      if (!rest.empty()) Report(line.number, "text after [Start] is ignored");
      return;
    }
    if (!rest.empty() && rest.front() != '\\') {
      Report(line.number, "text after " + std::string(section.marker) +
                              " is appended to a folder and must begin with a backslash");
    }
    if (rest.find("%%") != std::string_view::npos) {
      Report(line.number, "folder tokens are not expanded in section lines");
    }
  }

  void CheckEntry(const Line& line, bool hasBase) {
    // The reading loop removes every "/0/" before the line is parsed.
    std::string text(line.text);
    for (size_t at; (at = text.find("/0/")) != std::string::npos;) text.erase(at, 3);
    std::string_view rest = text;
    const size_t n = line.number;
    if (rest.empty()) {
      Report(n, line.text.empty() ? "empty line: it is read as an entry"
                                  : "entry holds nothing besides \"/0/\"");
      return;
    }

    bool hasDigest = false;
    if (rest.front() == '/') {
      const size_t close = rest.find('/', 1);
      if (close == std::string_view::npos) {
        Report(n, "digest prefix has no closing \"/\"");
        return;
      }
      if (!IsDigest(rest.substr(1, close - 1))) {
        Report(n, "digest must be 32 lower-case hex digits");
      }
      hasDigest = true;
      rest.remove_prefix(close + 1);
    }

    if (rest.empty() || rest.front() != '[') {
      Report(n, "entry must begin with the threat name in brackets, \"[name]\"");
      return;
    }
    const size_t close = rest.find(']');
    if (close == std::string_view::npos) {
      Report(n, "threat name has no closing \"]\"");
      return;
    }
    const std::string_view name = rest.substr(1, close - 1);
    if (name.find(':') != std::string_view::npos) {
      Report(n, "threat name must not contain \":\": the path is taken from the first \":\"");
      return;
    }
    const std::string_view after = rest.substr(close + 1);

    if (text.find("::") != std::string::npos) {
      if (after != "::") {
        Report(n, "\"::\" makes a digest entry; it must follow the threat name and end the line");
      }
      if (!hasDigest) Report(n, "digest entry needs a digest: \"/\", 32 hex digits, \"/\"");
      if (name.empty()) Report(n, "digest entry needs a threat name");
      return;
    }

    if (after.empty() || after.front() != ':') {
      Report(n, "threat name must be followed by \":\" and the path");
      return;
    }
    std::string_view target = after.substr(1);
    while (!target.empty() && target.back() == ' ') target.remove_suffix(1);
    if (target.empty()) {
      Report(n, "entry has no path");
      return;
    }

    if (target.back() == '\\') {
      const size_t twin = target.find("\\\\");
      if (!platform::EndsWith(target, "\\\\")) {
        Report(n, "folder entry must end in a double backslash");
        return;
      }
      if (twin != target.size() - 2) {
        Report(n,
               "folder entry may hold a double backslash only at its end: the folder "
               "ends at the first one");
        return;
      }
      const std::string_view folder = target.substr(0, twin);
      if (folder.empty()) {
        Report(n, hasBase ? "folder entry names no folder: it would flag the section's folder"
                          : "folder entry names no folder");
        return;
      }
      CheckPath(n, folder, hasBase);
      return;
    }
    if (target.find("\\\\") != std::string_view::npos) {
      Report(n, "double backslash inside a file path");
    }
    CheckPath(n, target, hasBase);
  }

  void CheckPath(size_t n, std::string_view path, bool hasBase) {
    CheckRange(n, std::string(path));
    size_t pos = 0;
    while ((pos = path.find("%%", pos)) != std::string_view::npos) {
      const size_t close = path.find("%%", pos + 2);
      if (close == std::string_view::npos) {
        Report(n, "unpaired \"%%\"");
        return;
      }
      const std::string_view token = path.substr(pos + 2, close - pos - 2);
      if (!IsFolderToken(token)) {
        Report(n, "unknown folder token " + Quoted("%%" + std::string(token) + "%%") +
                      " (tokens are case-sensitive)");
      }
      pos = close + 2;
    }
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const bool absolute = platform::StartsWith(path, "%%") || drive;
    if (hasBase) {
      if (absolute) {
        Report(n, "path below a root section line must be relative to the section's folder");
      } else if (path.front() == '\\') {
        Report(n, "path below a root section line must not begin with a backslash");
      }
    } else if (!absolute) {
      Report(n, "path outside a root section must begin with a folder token or a drive");
    }
  }

  // A range's names are each a file test in every scan: a line may make only so many.
  void CheckRange(size_t n, const std::string& path) {
    if (!platform::Contains(platform::FileNamePart(path), "??")) return;
    const auto names = NameRangeSize(path);
    if (!names) {
      Report(n, "range bound does not fit a 32-bit number: the range makes no names");
    } else if (*names > kMaxRangeNames) {
      Report(n, "range makes " + std::to_string(*names) + " names; at most " +
                    std::to_string(kMaxRangeNames) + " are allowed in one line");
    }
  }

  std::vector<Line> lines_;
  std::vector<LintProblem> problems_;
};

}  // namespace

std::vector<LintProblem> LintDatabaseText(const uint8_t* text, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(text), size);
  return Linter(all).Run();
}

}  // namespace morvanta::scan
