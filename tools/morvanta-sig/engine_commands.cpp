#include "engine_commands.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <iterator>
#include <memory>

#include "scan/entry_reader.h"
#include "scan/file_digest.h"
#include "scan/name_patterns.h"
#include "scan/name_range.h"
#include "scan/path_tokens.h"
#include "scan/walker.h"

namespace morvanta::tools {
namespace {

constexpr int kGood = 0;
constexpr int kNothing = 1;
constexpr int kUsage = 2;

const char* KindName(scan::EntryKind kind) {
  switch (kind) {
    case scan::EntryKind::File: return "file";
    case scan::EntryKind::Folder: return "folder";
    case scan::EntryKind::Digest: return "digest";
  }
  return "file";
}

void PrintEntry(std::ostream& out, const scan::DatabaseEntry& e, const char* suffix) {
  out << "target" << suffix << ": " << e.Target << "\n"
      << "folder" << suffix << ": " << e.Folder << "\n"
      << "path" << suffix << ": " << scan::DerivedPath(e) << "\n";
}

int Parse(const std::string& line, std::ostream& out, platform::Platform* machine) {
  const scan::EntryLine entry = scan::StripNoSubstitutionMarker(line);
  const scan::DatabaseEntry templates = scan::ParseEntryTemplates(entry.text, "");
  out << "kind: " << KindName(scan::KindOf(templates)) << "\n"
      << "threat: " << templates.ThreatName << "\n"
      << "digest: " << templates.Digest << "\n"
      << "no-process-substitution: " << (entry.noProcessSubstitution ? "yes" : "no") << "\n";
  PrintEntry(out, templates, "");
  if (machine) PrintEntry(out, scan::ParseEntryLine(*machine, entry.text, ""), " (expanded)");
  return kGood;
}

// Running programs as the list the patterns read: "Proc " + image path.
class ProcessObjects : public scan::RunningObjects {
 public:
  explicit ProcessObjects(platform::Processes& processes) {
    scan::SnapshotProcesses snapshot(processes);
    for (const auto& path : snapshot.ImagePaths()) lines_.push_back("Proc " + path);
  }
  const std::vector<std::string>& List() override { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// A file of the machine the tool runs on (natively); nothing for a folder or an unreadable
// file, so one bad name does not stop the others.
std::optional<std::string> DigestOfHostFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return scan::DigestBytes(bytes.data(), bytes.size());
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

}  // namespace

bool IsEngineCommand(const std::string& command) {
  for (const char* name : {"parse", "expand", "resolve", "match", "range", "digest"})
    if (command == name) return true;
  return false;
}

const char* EngineUsage() {
  return "       morvanta-sig parse LINE\n"
         "       morvanta-sig expand TEMPLATE\n"
         "       morvanta-sig resolve COMMANDLINE\n"
         "       morvanta-sig match PATTERNPATH\n"
         "       morvanta-sig range PATTERNPATH\n"
         "       morvanta-sig digest FILE...\n";
}

int RunEngineCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     platform::Platform* machine) {
  if (args.empty() || !IsEngineCommand(args[0])) {
    err << "usage:\n" << EngineUsage();
    return kUsage;
  }
  const std::string& command = args[0];
  if (command == "digest") {
    if (args.size() < 2) {
      err << "usage:\n" << EngineUsage();
      return kUsage;
    }
    int status = kGood;
    for (size_t i = 1; i < args.size(); ++i) {
      const std::optional<std::string> digest =
          machine ? scan::ReadFileDigest(machine->files, args[i]) : DigestOfHostFile(args[i]);
      if (!digest) {
        err << "morvanta-sig: cannot read " << args[i] << "\n";
        status = kNothing;
        continue;
      }
      out << *digest << "  " << args[i] << "\n";
    }
    return status;
  }
  if (args.size() != 2) {
    err << "usage:\n" << EngineUsage();
    return kUsage;
  }
  const std::string& operand = args[1];
  if (command == "parse") return Parse(operand, out, machine);
  if (command == "range") {
    bool any = false;
    auto result = scan::ExpandNameRange(operand, [&](const std::string& path) {
      out << path << "\n";
      any = true;
      return static_cast<bool>(out);
    });
    if (result == scan::RangeResult::BadNumber) {
      err << "morvanta-sig: a bound of the range does not fit a 32-bit number\n";
      return kUsage;
    }
    return any ? kGood : kNothing;
  }
  if (!machine) {
    err << "morvanta-sig: " << command << " needs the machine's folders and files: run it on "
        << "Windows\n";
    return kUsage;
  }
  if (command == "expand") {
    out << scan::ExpandPathTokens(*machine, operand) << "\n";
    return kGood;
  }
  if (command == "resolve") {
    const std::string path = scan::ResolveCommandPath(*machine, operand);
    if (path.empty()) return kNothing;
    out << path << "\n";
    return kGood;
  }
  ProcessObjects objects(machine->processes);
  const auto matches = scan::SplitMatchList(scan::MatchNamePattern(*machine, objects, operand));
  for (const auto& path : matches) out << path << "\n";
  return matches.empty() ? kNothing : kGood;
}

}  // namespace morvanta::tools
