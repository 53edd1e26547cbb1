#include "runs/database_update.h"

#include <optional>
#include <vector>

#include "app/server_settings.h"
#include "database/threat_database.h"
#include "update/database_check.h"
#include "update/http_get.h"
#include "update/signature.h"
#include "update/update_list.h"

namespace morvanta::runs {
namespace {

using Bytes = std::vector<uint8_t>;


class Updater {
 public:
  Updater(app::Session& s, const UpdateProgress& progress)
      : s_(s),
        p_(s.Platform()),
        progress_(progress),
        settings_(app::LoadServerSettings(p_.files, s.ProgramFolder())) {}

  DatabaseUpdateResult Run() {
    s_.updateCheckState = app::UpdateCheckState::Failed;
    const auto listBytes = FetchVerified(update::kListPath, update::kListFileName);
    if (!listBytes) return Fail("cannot fetch the update list: " + lastError_);
    p_.files.DeleteFile(s_.ProgramFile(update::kListFileName));  // read once, then gone
    const auto list = update::ReadUpdateList(listBytes->data(), listBytes->size());
    if (!list) return Fail("the update list is not one of Morvanta Pro");
    result_.serverDate = list->databaseDate;
    result_.serverProgram = list->programVersion;
    s_.logUploadWanted = list->logUploadWanted;
    s_.updateCheckState = app::UpdateCheckState::UpToDate;
    if (list->programVersion != update::kProgramVersion) {
      s_.updateCheckState = app::UpdateCheckState::UpdateOffered;
      result_.outcome = UpdateOutcome::ProgramOutOfDate;
      return result_;
    }
    const std::string local = s_.DatabaseDate();
    if (local == list->databaseDate) {
      result_.outcome = UpdateOutcome::UpToDate;
      return result_;
    }
    s_.updateCheckState = app::UpdateCheckState::UpdateOffered;
    const update::DatabaseUpdatePlan plan = update::PlanDatabaseUpdate(local, *list);
    if (plan.partial && plan.PieceCount() <= kMaxPiecesPerRun) return Partial(plan);
    return Whole();
  }

 private:
  DatabaseUpdateResult Partial(const update::DatabaseUpdatePlan& plan) {
    database::ThreatDatabase merged;
    merged.SetText(s_.Database().Content());
    if (plan.PieceCount() == 0) {  // the server is behind this database: nothing to fetch
      result_.outcome = UpdateOutcome::UpToDate;
      return result_;
    }
    std::string failure;
    for (uint64_t n = plan.first; n <= plan.last; ++n) {
      const auto piece = FetchVerified(update::PiecePath(n), "Upd.dat");
      if (!piece || piece->size() < update::kSmallestDatabaseFile ||
          !merged.ApplyUpdatePieceBytes(piece->data(), piece->size())) {
        // A later piece only makes sense on top of this one: the run ends here, and what
        // was merged so far is kept, so the next check goes on from it.
        failure = "cannot apply the update piece " + std::to_string(n) +
                  (piece ? std::string() : ": " + lastError_);
        break;
      }
      ++result_.piecesApplied;
    }
    p_.files.DeleteFile(s_.ProgramFile("Upd.dat"));
    if (result_.piecesApplied > 0) {
      const auto& text = merged.Content();
      if (update::CheckDatabaseText(text.data(), text.size()) != update::DatabaseCheck::Usable)
        return Fail("the merged database is damaged; files.dat is left as it was");
      if (!merged.SaveScrambled(p_.files, s_.ProgramFile(database::kDatabaseFileName)))
        return Fail("cannot write files.dat");
      s_.LoadDatabase();
    }
    if (!failure.empty()) return Fail(failure);
    result_.outcome = UpdateOutcome::Updated;
    return result_;
  }

  DatabaseUpdateResult Whole() {
    result_.whole = true;
    const std::string download = "filess.dat";
    const auto bytes = FetchVerified(update::kWholeDatabasePath, download);
    if (!bytes) return Fail("cannot fetch the database: " + lastError_);
    if (bytes->size() < update::kSmallestDatabaseFile ||
        update::CheckDatabaseFile(bytes->data(), bytes->size()) != update::DatabaseCheck::Usable) {
      p_.files.DeleteFile(s_.ProgramFile(download));
      return Fail("the downloaded database is damaged; files.dat is left as it was");
    }
    const auto loaded = database::ReplaceWithFullDownload(s_.Database(), p_.files, s_.ProgramFolder());
    if (!loaded.ok()) return Fail(loaded.message);
    result_.outcome = UpdateOutcome::Updated;
    return result_;
  }

  // Fetches a file of the update server into the program folder, and its signature beside
  // it; the file's bytes when the signature is the maker's. Otherwise both are deleted.
  std::optional<Bytes> FetchVerified(const std::string& path, const std::string& localName) {
    const std::string local = s_.ProgramFile(localName);
    const std::string signature = local + ".sig";
    const bool fetched = Fetch(path, local) && Fetch(update::SignaturePath(path), signature);
    const auto bytes = fetched ? p_.files.ReadAll(local) : std::nullopt;
    const auto sig = fetched ? p_.files.ReadAll(signature) : std::nullopt;
    p_.files.DeleteFile(signature);
    if (bytes && sig &&
        update::VerifyUpdateSignature(bytes->data(), bytes->size(), sig->data(), sig->size()))
      return bytes;
    if (fetched) lastError_ = "the signature of " + path + " is not the maker's";
    p_.files.DeleteFile(local);
    return std::nullopt;
  }

  bool Fetch(const std::string& path, const std::string& local) {
    update::HttpGetProperties get;
    get.Agent = update::kProgramAgent;
    get.BinaryData = true;
    get.URL = "http://" + settings_.update.host + path;
    get.Port = settings_.update.port;
    get.FileName = local;
    const auto r = update::RunHttpTransfer(
        p_.internet, p_.files, get, [&](uint64_t total, uint64_t readed) {
          if (progress_) progress_(path, total, readed);
        });
    if (!r.success || r.readed == 0) {
      lastError_ = "no answer for http://" + settings_.update.host + ":" +
                   std::to_string(settings_.update.port) + path;
      p_.files.DeleteFile(local);
      return false;
    }
    return true;
  }

  DatabaseUpdateResult Fail(const std::string& error) {
    result_.outcome = UpdateOutcome::Failed;
    result_.error = error;
    return result_;
  }

  app::Session& s_;
  platform::Platform& p_;
  const UpdateProgress& progress_;
  app::ServerSettings settings_;
  DatabaseUpdateResult result_;
  std::string lastError_;
};

}  // namespace

DatabaseUpdateResult UpdateDatabase(app::Session& session, const UpdateProgress& progress) {
  return Updater(session, progress).Run();
}

}  // namespace morvanta::runs
