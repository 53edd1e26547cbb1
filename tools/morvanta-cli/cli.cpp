#include "cli.h"

#include <exception>

#include "morvanta_version.h"

#include "quarantine_command.h"
#include "report_command.h"
#include "scan_command.h"
#include "update_command.h"

namespace morvanta::cli {

const char kUsage[] =
    "usage: morvanta-cli COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  scan [--database FILE] [--full] [--drives LIST] [--fix] [--findings-only]\n"
    "       [--show-skipped]\n"
    "      Scans this machine against the threat database (files.dat beside the program,\n"
    "      or FILE), ending the processes of every file it finds, as the window does.\n"
    "      Prints one line per finding, \"PATH: THREATNAME FOUND\", then a summary\n"
    "      (not with --findings-only). Files and folders on the window's ignore list\n"
    "      are neither reported nor removed.\n"
    "      --full     after a scan that found something, searches the fixed drives for\n"
    "                 copies of the files found (same size and digest elsewhere)\n"
    "      --drives LIST  the drives or folders --full searches instead, as C:\\,D:\\\n"
    "                 (implies --full)\n"
    "      --fix      removes everything found, as \"Fix\" does, and prints \"PATH: Removed.\"\n"
    "                 or \"PATH: Not removed.\" for each finding; a file that stays is\n"
    "                 deleted when the computer next starts where the system allows it\n"
    "      --show-skipped  prints \"PATH: SKIPPED\" for each file or folder the ignore\n"
    "                 lists (FileIgnoreL.fil beside the program) kept from the scan; the\n"
    "                 summary counts them\n"
    "  quarantine list\n"
    "      Lists the stored files, one per line, tab-separated: where the file came from,\n"
    "      the threat's name, when it was stored, its MD5 (empty for a file added by\n"
    "      hand), the stored copy.\n"
    "  quarantine add FILE\n"
    "      Stores an encrypted copy of FILE in the quarantine; the file stays where it is.\n"
    "      Exit 1 when it is there already.\n"
    "  quarantine restore PATH\n"
    "      Puts the stored file that came from PATH back there, replacing a file there.\n"
    "  quarantine remove PATH\n"
    "      Drops the stored file that came from PATH from the quarantine, deleting its\n"
    "      copy. Exit 1 when the copy could not be deleted.\n"
    "  report [FILE] [--database FILE] [--no-infected] [--no-processes] [--no-startup]\n"
    "         [--no-services]\n"
    "      Writes the full report log, as the window's \"Build log\" does, into FILE\n"
    "      (Information.txt beside the program when none is given) without opening it,\n"
    "      and prints its path. The options leave sections out: the quick scan's\n"
    "      \"Virus list:\" (no database is then needed), the running processes, the\n"
    "      startup values with the Startup folder, Win.ini and System.ini lines, and the\n"
    "      services. The detail report and the keyboard drivers are always written.\n"
    "  autoruns\n"
    "      Prints the Report Manager's rows as CSV, one per line after the header line\n"
    "      \"kind,path,size,key,md5\": every running program, registry autostart place,\n"
    "      startup value, Startup-folder entry, service and System.ini line, with the\n"
    "      file's size (0 when it cannot be opened), the key of a startup value, and the\n"
    "      file's MD5 (empty when it cannot be read).\n"
    "  update\n"
    "      Brings the threat database up to date from the update server (morvanta.ini\n"
    "      beside the program names it), without questions. Every file must carry the\n"
    "      maker's signature. Exit 0 up to date or updated, 1 a new program version must\n"
    "      be installed first, 2 an error (nothing is changed).\n"
    "  --help\n"
    "      Shows this text.\n"
    "  --version\n"
    "      Shows the program's version.\n"
    "\n"
    "Exit codes: 0 nothing found (with --fix: everything found was removed), 1 something\n"
    "found (with --fix: something remains), 2 an error (bad arguments, a missing or damaged\n"
    "database, a missing drive, an aborted run, a quarantine task that failed, a report\n"
    "file that could not be written). Errors go to the standard error.\n";

void ExplainMissingRights(app::Session& session, std::ostream& err) {
  if (session.Platform().system.HasAdministratorRights()) return;
  err << "morvanta-cli: this command runs without administrator rights, and without them the "
         "program's folder ("
      << session.ProgramFolder()
      << "), machine-wide startup values, services and system folders cannot be changed. "
         "If that is what failed, run it again from a command prompt started with \"Run as "
         "administrator\".\n";
}

int Run(app::Session& session, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
  try {
    if (args.empty()) {
      err << kUsage;
      return kError;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
      out << kUsage;
      return kClean;
    }
    if (args[0] == "--version") {
      out << "morvanta-cli (" MORVANTA_PRODUCT_NAME ") " MORVANTA_VERSION "\n";
      return kClean;
    }
    if (args[0] == "scan") return ScanCommand(session, args, out, err);
    if (args[0] == "quarantine") return QuarantineCommand(session, args, out, err);
    if (args[0] == "report") return ReportCommand(session, args, out, err);
    if (args[0] == "autoruns") return AutorunsCommand(session, args, out, err);
    if (args[0] == "update") return UpdateCommand(session, args, out, err);
    err << "morvanta-cli: unknown command " << args[0] << "\n" << kUsage;
    return kError;
  } catch (const std::exception& e) {
    err << "morvanta-cli: " << e.what() << "\n";
    return kError;
  }
}

}  // namespace morvanta::cli
