// morvanta-sig: builds and checks the threat database files.
//
//   morvanta-sig pack IN.txt OUT.dat     plain text -> bzip2 -> scrambled ("files.dat")
//   morvanta-sig unpack IN OUT.txt       either container form -> plain text
//   morvanta-sig piece IN.txt OUT.dat    plain text -> scrambled, uncompressed update piece
//   morvanta-sig date FILE               the date line of a database in any form
//   morvanta-sig lint FILE               checks a database in any form
//   morvanta-sig lang-pack TEMPLATE.txt OUT.vlng
//                                        a plain language text -> scrambled language file
//   morvanta-sig lang-unpack IN.vlng OUT.txt
//                                        a language file -> plain text for translators
//   morvanta-sig lang-template OUT.txt   the template of the built-in English texts
//   morvanta-sig keygen KEYFILE          a new update signing key pair (KEYFILE, KEYFILE.pub)
//   morvanta-sig publish --database FILES.txt --site DIR --key KEYFILE [--program FILE.exe]
//                        [--log-upload] [--lowest N]
//                                        the signed update site under DIR (site_publisher.h)
//   morvanta-sig --version               the release version of the build
//
// Exit status: 0 good, 1 problems found, 2 unusable input or wrong usage.
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/language_file.h"
#include "database/container.h"
#include "scan/lint.h"
#include "database/threat_database.h"
#include "engine_commands.h"
#include "morvanta_version.h"
#include "site_publisher.h"
#include "update/update_list.h"
#ifdef _WIN32
#include "platform/win32/win32_platform.h"
#endif

namespace {

namespace db = morvanta::database;
namespace scan = morvanta::scan;

constexpr int kGood = 0;
constexpr int kProblems = 1;
constexpr int kUnusable = 2;

constexpr char kUsage[] =
    "usage: morvanta-sig pack IN.txt OUT.dat\n"
    "       morvanta-sig unpack IN OUT.txt\n"
    "       morvanta-sig piece IN.txt OUT.dat\n"
    "       morvanta-sig date FILE\n"
    "       morvanta-sig lint FILE\n"
    "       morvanta-sig lang-pack TEMPLATE.txt OUT.vlng\n"
    "       morvanta-sig lang-unpack IN.vlng OUT.txt\n"
    "       morvanta-sig lang-template OUT.txt\n"
    "       morvanta-sig keygen KEYFILE\n"
    "       morvanta-sig publish --database FILES.txt --site DIR --key KEYFILE\n"
    "                            [--program FILE.exe] [--log-upload] [--lowest N]\n"
    "       morvanta-sig --version\n";

std::optional<std::vector<uint8_t>> ReadFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    std::fprintf(stderr, "%s: is a folder, not a file\n", path.c_str());
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) {
    std::fprintf(stderr, "%s: cannot open file\n", path.c_str());
    return std::nullopt;
  }
  const std::streamoff size = in.tellg();
  if (size < 0 || static_cast<uint64_t>(size) > db::kMaxDecodedSize) {
    std::fprintf(stderr, "%s: cannot read file\n", path.c_str());
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (!in || in.gcount() != size) {
    std::fprintf(stderr, "%s: cannot read file\n", path.c_str());
    return std::nullopt;
  }
  return bytes;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s: cannot write file\n", path.c_str());
    return false;
  }
  return true;
}

// The text is taken as it is, so that damaged databases can be made on purpose; "lint"
// checks it.
int Encode(const std::string& in, const std::string& out, bool compress) {
  auto text = ReadFile(in);
  if (!text) return kUnusable;
  const auto bytes = compress ? db::PackDatabase(text->data(), text->size())
                              : db::PackPiece(text->data(), text->size());
  return WriteFile(out, bytes) ? kGood : kUnusable;
}

// The program takes any bytes silently as its text; the tool says what they are not.
bool ReportDamage(const std::string& path, const db::DecodedDatabase& decoded) {
  if (decoded.form != db::ContainerForm::Damaged) return false;
  std::fprintf(stderr, "%s: %s\n", path.c_str(), db::FormName(decoded.form));
  return true;
}

int Unpack(const std::string& in, const std::string& out) {
  auto bytes = ReadFile(in);
  if (!bytes) return kUnusable;
  const db::DecodedDatabase decoded = db::DecodeAnyForm(bytes->data(), bytes->size());
  if (ReportDamage(in, decoded)) return kProblems;
  if (decoded.form == db::ContainerForm::PlainText) {
    std::fprintf(stderr, "%s: plain text, not a container: nothing to unpack\n", in.c_str());
    return kProblems;
  }
  return WriteFile(out, decoded.text) ? kGood : kUnusable;
}

// A language text without its marker is refused; one that is packed but would leave texts
// at "_end" is written and reported, so the translator sees what is missing.
bool ReportLanguageShape(const std::string& path, const std::vector<uint8_t>& text) {
  const auto shape = morvanta::app::InspectLanguageText(text);
  if (!shape.hasMarker) {
    std::fprintf(stderr, "%s: no \"%s\" line before the last line: not a language text\n",
                 path.c_str(), morvanta::app::kLanguageMarker);
    return false;
  }
  const size_t expected = morvanta::app::ExpectedLanguageTexts();
  if (shape.texts < expected) {
    std::fprintf(stderr,
                 "%s: %zu texts after \"%s\", %zu expected (the last line of a file always "
                 "reads as _end, so one line more is needed); the missing ones read as _end\n",
                 path.c_str(), shape.texts, morvanta::app::kLanguageMarker, expected);
  }
  return true;
}

int LanguagePack(const std::string& in, const std::string& out) {
  auto text = ReadFile(in);
  if (!text) return kUnusable;
  const auto shape = morvanta::app::InspectLanguageText(*text);
  if (!ReportLanguageShape(in, *text)) return kProblems;
  if (!WriteFile(out, morvanta::app::PackLanguage(*text))) return kUnusable;
  return shape.texts < morvanta::app::ExpectedLanguageTexts() ? kProblems : kGood;
}

int LanguageUnpack(const std::string& in, const std::string& out) {
  auto bytes = ReadFile(in);
  if (!bytes) return kUnusable;
  const auto text = morvanta::app::UnpackLanguage(*bytes);
  const auto shape = morvanta::app::InspectLanguageText(text);
  if (!ReportLanguageShape(in, text)) return kProblems;
  if (!WriteFile(out, text)) return kUnusable;
  return shape.texts < morvanta::app::ExpectedLanguageTexts() ? kProblems : kGood;
}

// The same template the program's "Save default language" writes before any language is
// applied.
int LanguageTemplate(const std::string& out) {
  const std::string text = morvanta::app::LanguageTemplate(morvanta::app::ComponentTextTable{},
                                                           morvanta::common::MessageCatalog{});
  return WriteFile(out, std::vector<uint8_t>(text.begin(), text.end())) ? kGood : kUnusable;
}

int Date(const std::string& path) {
  auto bytes = ReadFile(path);
  if (!bytes) return kUnusable;
  db::DecodedDatabase decoded = db::DecodeAnyForm(bytes->data(), bytes->size());
  if (ReportDamage(path, decoded)) return kProblems;
  db::ThreatDatabase database;
  database.SetText(std::move(decoded.text));
  const auto date = database.ReadDateLine();
  if (!date) {
    std::fprintf(stderr, "%s: no date line\n", path.c_str());
    return kProblems;
  }
  std::printf("%s\n", date->c_str());
  return kGood;
}

int Lint(const std::string& path) {
  auto bytes = ReadFile(path);
  if (!bytes) return kUnusable;
  const db::DecodedDatabase decoded = db::DecodeAnyForm(bytes->data(), bytes->size());
  if (ReportDamage(path, decoded)) return kProblems;
  const auto problems = scan::LintDatabaseText(decoded.text.data(), decoded.text.size());
  for (const auto& p : problems) {
    if (p.line == 0) {
      std::printf("%s: %s\n", path.c_str(), p.message.c_str());
    } else {
      std::printf("%s:%zu: %s\n", path.c_str(), p.line, p.message.c_str());
    }
  }
  std::fprintf(stderr, "%s: %s, %zu problem%s\n", path.c_str(), db::FormName(decoded.form),
               problems.size(), problems.size() == 1 ? "" : "s");
  return problems.empty() ? kGood : kProblems;
}

// The commands that look at this machine: entries, tokens, patterns, ranges, digests.
int RunOnMachine(const std::vector<std::string>& args) {
#ifdef _WIN32
  morvanta::platform::win32::Win32Platform real;
  morvanta::platform::Platform machine = real.Get();
  return morvanta::tools::RunEngineCommand(args, std::cout, std::cerr, &machine);
#else
  return morvanta::tools::RunEngineCommand(args, std::cout, std::cerr, nullptr);
#endif
}

// The options of "publish"; nothing when they are wrong or incomplete.
std::optional<morvanta::tools::PublishRequest> ReadPublishOptions(
    const std::vector<std::string>& args) {
  morvanta::tools::PublishRequest request;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--log-upload") {
      request.logUploadWanted = true;
      continue;
    }
    if (i + 1 >= args.size()) return std::nullopt;
    const std::string& value = args[++i];
    if (option == "--database") {
      request.databaseFile = value;
    } else if (option == "--site") {
      request.siteFolder = value;
    } else if (option == "--key") {
      request.keyFile = value;
    } else if (option == "--program") {
      request.programFile = value;
    } else if (option == "--lowest") {
      const uint64_t lowest = morvanta::update::ReadLowestCounter(value);
      if (lowest == 0) return std::nullopt;
      request.lowest = lowest;
    } else {
      return std::nullopt;
    }
  }
  if (request.databaseFile.empty() || request.siteFolder.empty() || request.keyFile.empty()) {
    return std::nullopt;
  }
  return request;
}

int Run(const std::vector<std::string>& args) {
  const std::string command = args.empty() ? "" : args[0];
  if (command == "--version" && args.size() == 1) {
    std::fputs("morvanta-sig (" MORVANTA_PRODUCT_NAME ") " MORVANTA_VERSION "\n", stdout);
    return kGood;
  }
  if (morvanta::tools::IsEngineCommand(command)) return RunOnMachine(args);
  if ((command == "pack" || command == "piece") && args.size() == 3) {
    return Encode(args[1], args[2], command == "pack");
  }
  if (command == "unpack" && args.size() == 3) return Unpack(args[1], args[2]);
  if (command == "date" && args.size() == 2) return Date(args[1]);
  if (command == "lint" && args.size() == 2) return Lint(args[1]);
  if (command == "lang-pack" && args.size() == 3) return LanguagePack(args[1], args[2]);
  if (command == "lang-unpack" && args.size() == 3) return LanguageUnpack(args[1], args[2]);
  if (command == "lang-template" && args.size() == 2) return LanguageTemplate(args[1]);
  if (command == "keygen" && args.size() == 2) {
    return morvanta::tools::GenerateKeyFiles(args[1], std::cout, std::cerr);
  }
  if (command == "publish") {
    if (const auto request = ReadPublishOptions(args)) {
      return morvanta::tools::PublishSite(*request, std::cout, std::cerr);
    }
  }
  std::fputs(kUsage, stderr);
  std::fputs(morvanta::tools::EngineUsage(), stderr);
  return kUnusable;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "morvanta-sig: %s\n", e.what());
    return kUnusable;
  }
}
