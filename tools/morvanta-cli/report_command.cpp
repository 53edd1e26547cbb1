#include "report_command.h"

#include "cli.h"
#include "common/memory_views.h"
#include "database/container.h"
#include "database/threat_database.h"
#include "quarantine_command.h"
#include "runs/full_report.h"
#include "runs/report_manager.h"
#include "scan/file_digest.h"

namespace morvanta::cli {

const char kReportUsage[] =
    "usage: morvanta-cli report [FILE] [--database FILE] [--no-infected] [--no-processes]\n"
    "       [--no-startup] [--no-services]\n";
const char kAutorunsUsage[] = "usage: morvanta-cli autoruns\n";

namespace {

using common::PromptKind;

// Nothing to answer: the report asks nothing once started. Errors and warnings (a Windows
// folder that cannot be found, say) go to the standard error.
class ConsolePrompts : public common::Prompts {
 public:
  explicit ConsolePrompts(std::ostream& err) : err_(err) {}
  bool Ask(const common::Prompt&) override { return false; }
  void Tell(const common::Prompt& notice) override {
    if (notice.kind != PromptKind::Error && notice.kind != PromptKind::UrgentError &&
        notice.kind != PromptKind::Warning)
      return;
    std::string text = notice.text;
    for (char& c : text)
      if (c == '\r' || c == '\n') c = ' ';
    err_ << "morvanta-cli: " << text << "\n";
  }

 private:
  std::ostream& err_;
};

bool LoadDatabaseFrom(app::Session& session, const std::string& path, std::ostream& err) {
  auto bytes = session.Platform().files.ReadAll(path);
  if (!bytes) {
    err << "morvanta-cli: cannot read the database \"" << path << "\"\n";
    return false;
  }
  const auto decoded = database::DecodeAnyForm(bytes->data(), bytes->size());
  if (decoded.form == database::ContainerForm::Damaged) {
    err << "morvanta-cli: the database \"" << path << "\" is damaged\n";
    return false;
  }
  session.Database().SetText(decoded.text);
  return true;
}

}  // namespace

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

int ReportCommand(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
  runs::ReportSections sections;
  std::string file, databasePath;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--database" && i + 1 < args.size()) {
      databasePath = args[++i];
    } else if (a == "--no-infected") {
      sections.infectedFiles = false;
    } else if (a == "--no-processes") {
      sections.processes = false;
    } else if (a == "--no-startup") {
      sections.startupFiles = false;
    } else if (a == "--no-services") {
      sections.services = false;
    } else if (!a.empty() && a[0] != '-' && file.empty()) {
      file = a;
    } else {
      err << "morvanta-cli: unknown option " << a << "\n" << kReportUsage;
      return kError;
    }
  }
  platform::Platform& p = session.Platform();
  const std::string path = file.empty() ? session.ProgramFile(runs::kReportFileName)
                                        : FullPath(file, p.files.CurrentDirectory());
  if (sections.infectedFiles) {
    const std::string db = databasePath.empty() ? session.ProgramFile(database::kDatabaseFileName)
                                                : FullPath(databasePath, p.files.CurrentDirectory());
    if (!LoadDatabaseFrom(session, db, err)) return kError;
  }
  session.LoadIgnoreLists();
  ConsolePrompts prompts(err);
  common::NoMessages pump;
  runs::ReportFile report(p.files);
  runs::HeadlessReportPages pages(session, report, prompts, pump);
  switch (runs::WriteFullReport(session, sections, report, pages, pump, path)) {
    case runs::ReportOutcome::Written:
      out << path << "\n";
      return kClean;
    case runs::ReportOutcome::Aborted:
      err << "morvanta-cli: report aborted\n";
      return kError;
    case runs::ReportOutcome::Failed:
      break;
  }
  err << "morvanta-cli: " << session.Catalog().Text(common::Msg::ErrorWritingLog) << " " << path
      << "\n";
  ExplainMissingRights(session, err);
  return kError;
}

int AutorunsCommand(app::Session& session, const std::vector<std::string>& args,
                    std::ostream& out, std::ostream& err) {
  if (args.size() > 1) {
    err << "morvanta-cli: unknown option " << args[1] << "\n" << kAutorunsUsage;
    return kError;
  }
  ConsolePrompts prompts(err);
  common::NoMessages pump;
  // The lists the window would have loaded by now.
  runs::ReloadInspectionLists(session, pump, prompts);
  platform::Files& files = session.Platform().files;
  out << "kind,path,size,key,md5\n";
  for (const runs::ReportRow& row : runs::BuildReportRows(session, pump)) {
    const std::string md5 = scan::ReadFileDigest(files, row.path).value_or("");
    out << CsvField(row.kind) << ',' << CsvField(row.path) << ',' << row.size << ','
        << CsvField(row.key) << ',' << md5 << '\n';
  }
  return kClean;
}

}  // namespace morvanta::cli
