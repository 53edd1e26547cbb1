#include "runs/update_check.h"

#include <iterator>
#include <optional>
#include <vector>

#include "app/server_settings.h"
#include "runs/database_update.h"
#include "update/database_check.h"
#include "update/update_list.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::Prompt;
using common::PromptKind;

constexpr char kPieceFileName[] = "Upd.dat";
constexpr char kWholeDownloadName[] = "filess.dat";

// Deletes the list file however the handler ends.
class ListFileGuard {
 public:
  ListFileGuard(platform::Files& files, std::string path) : files_(files), path_(std::move(path)) {}
  ~ListFileGuard() { files_.DeleteFile(path_); }
  ListFileGuard(const ListFileGuard&) = delete;
  ListFileGuard& operator=(const ListFileGuard&) = delete;

 private:
  platform::Files& files_;
  std::string path_;
};

void SetUpInstance(update::THTTPGet& get, bool binary, bool wait) {
  get.properties.AcceptTypes = "*/*";
  get.properties.Agent = update::kProgramAgent;
  get.properties.BinaryData = binary;
  get.properties.UseCache = false;
  get.properties.WaitThread = wait;
  get.Signed = true;
}

}  // namespace

std::string ConnectionMessageText() {
  const char* const lines[] = {
      "Cannot upgrade, please check your internet connection.",
      "",
      "Tips:",
      "1. Check if some firewall is disable Morvanta Pro internet connection.",
      "2. Open Microsoft Internet Explorer and Turn off option Work offline if it is active.",
      "3. Make sure that you have latest Microsoft Internet Explorer version.",
  };
  std::string text = lines[0];
  for (size_t i = 1; i < std::size(lines); ++i) text += std::string("\r") + lines[i];
  return text;
}

UpdateCheck::UpdateCheck(app::Session& session, common::UiTasks& tasks, UpdateCheckViews views)
    : Get1(session.Platform().internet, session.Platform().files, tasks, views.pump),
      Get2(session.Platform().internet, session.Platform().files, tasks, views.pump),
      session_(session),
      views_(views) {
  SetUpInstance(Get1, true, true);
  SetUpInstance(Get2, false, false);
  Get1.OnProgress = [this](update::THTTPGet&, uint64_t total, uint64_t readed) {
    Get1Progress(total, readed);
  };
  Get1.OnDoneFile = [this](update::THTTPGet&, const std::string&, uint64_t size) {
    Get1DoneFile(size);
  };
  Get1.OnError = [this](update::THTTPGet&) { Get1Error(); };
  Get2.OnDoneFile = [this](update::THTTPGet&, const std::string&, uint64_t size) {
    ListDone(size);
  };
  // A list that did not come (an error page, no signature) is taken as nothing fetched, so
  // the next "Update" tells the connection message.
  Get2.OnError = [this](update::THTTPGet&) { ListDone(0); };
}

void AimAtUpdateServer(update::THTTPGet& get, app::Session& session, const std::string& path,
                       const std::string& fileName) {
  AimAtUpdateServer(get, session,
                    app::LoadServerSettings(session.Platform().files, session.ProgramFolder()).update,
                    path, fileName);
}

void AimAtUpdateServer(update::THTTPGet& get, app::Session& session,
                       const app::UpdateServerSettings& server, const std::string& path,
                       const std::string& fileName) {
  get.properties.URL = "http://" + server.host + path;
  get.properties.Port = server.port;
  get.properties.FileName = session.ProgramFile(fileName);
}

void UpdateCheck::Start() {
  if (Get2.Busy()) return;
  // Read once a check: its downloads all go to the same server.
  server_ = app::LoadServerSettings(session_.Platform().files, session_.ProgramFolder()).update;
  AimAtUpdateServer(Get2, session_, server_, update::kListPath, update::kListFileName);
  Get2.StartDownload();
}

void UpdateCheck::UpdateClick() {
  Start();
  switch (session_.updateCheckState) {
    case app::UpdateCheckState::UpToDate:
      views_.prompts.Tell(Prompt(PromptKind::UrgentInformation, Msg::AlreadyUpgraded,
                                 Msg(Msg::AlreadyUpgraded), Msg(Msg::Information)));
      break;
    case app::UpdateCheckState::Failed:
      views_.prompts.Tell(
          Prompt(PromptKind::UrgentError, Msg::None, ConnectionMessageText(), kConnectionErrorCaption));
      break;
    default:
      break;
  }
}

void UpdateCheck::ListDone(uint64_t size) {
  platform::Files& files = session_.Platform().files;
  session_.updateCheckState = app::UpdateCheckState::Failed;
  if (size == 0) return;
  const std::string listPath = session_.ProgramFile(update::kListFileName);
  ListFileGuard guard(files, listPath);
  const auto bytes = files.ReadAll(listPath);
  const auto list = bytes ? update::ReadUpdateList(bytes->data(), bytes->size()) : std::nullopt;
  if (!list) return;
  session_.logUploadWanted = list->logUploadWanted;
  session_.updateCheckState = app::UpdateCheckState::UpToDate;
  const std::string caption = Msg(Msg::Information);

  bool declined = false;
  if (list->programVersion != update::kProgramVersion) {
    session_.updateCheckState = app::UpdateCheckState::UpdateOffered;
    views_.window.SetMainEnabled(false);
    const std::string question = Msg(Msg::ProgramOutOfDate) + "\r" + Msg(Msg::YourVersionIs) +
                                 update::kProgramVersion + "\r" + Msg(Msg::NewVersionIs) +
                                 list->programVersion;
    if (views_.prompts.Ask(Prompt(PromptKind::Question, Msg::ProgramOutOfDate, question, caption))) {
      views_.window.StartProgramUpgrade(Msg(Msg::NewVersionIs) + list->programVersion);
      return;
    }
    declined = true;
  }
  views_.window.SetMainEnabled(true);
  if (session_.DatabaseDate() == list->databaseDate) return;
  if (declined) {
    views_.window.SetMainEnabled(false);
    views_.prompts.Tell(Prompt(PromptKind::UrgentError, Msg::UpgradeProgramFirst,
                               Msg(Msg::UpgradeProgramFirst), caption));
    views_.window.SetMainEnabled(true);
    return;
  }

  session_.updateCheckState = app::UpdateCheckState::UpdateOffered;
  views_.window.SetMainEnabled(false);
  partialMode_ = false;
  partial_ = lastPartial_ = piecesMerged_ = 0;
  partialRunBroken_ = false;
  const std::string question =
      Msg(Msg::DatabaseOutOfDate) + "\r" + Msg(Msg::DownloadDatabaseUpdating) + list->databaseDate;
  const bool yes =
      views_.prompts.Ask(Prompt(PromptKind::Question, Msg::DatabaseOutOfDate, question, caption));
  views_.window.SetMainEnabled(true);
  if (!yes) return;

  const update::DatabaseUpdatePlan plan = update::PlanDatabaseUpdate(session_.DatabaseDate(), *list);
  if (plan.partial && plan.PieceCount() <= kMaxPiecesPerRun) {
    lastPartial_ = plan.last;
    merged_.SetText(session_.Database().Content());
    for (uint64_t n = plan.first; n <= plan.last && plan.PieceCount() > 0; ++n) {
      views_.pump.ProcessPendingMessages();
      partialMode_ = true;
      partial_ = n;
      views_.window.SetUpdateButtonsEnabled(false);
      FetchIntoGet1(update::PiecePath(n), kPieceFileName);
      // A later piece only makes sense on top of this one: a piece that did not come ends
      // the run, and what was merged before it is kept.
      if (partialRunBroken_) {
        if (piecesMerged_ > 0) FinishPartialRun();
        break;
      }
    }
    return;
  }
  views_.window.SetUpdateButtonsEnabled(false);
  FetchIntoGet1(update::kWholeDatabasePath, kWholeDownloadName);
  views_.window.SetMainEnabled(true);
}

void UpdateCheck::FetchIntoGet1(const std::string& path, const std::string& fileName) {
  AimAtUpdateServer(Get1, session_, server_, path, fileName);
  views_.label2.SetText(Msg(Msg::UpdatingDatabase));
  Get1.StartDownload();
}

void UpdateCheck::Get1Progress(uint64_t totalSize, uint64_t readed) {
  views_.status0.SetText(Msg(Msg::Downloading) + std::to_string(readed) + "/" +
                         std::to_string(totalSize) + Msg(Msg::Bytes));
}

void UpdateCheck::Get1DoneFile(uint64_t size) {
  platform::Files& files = session_.Platform().files;
  if (size < update::kSmallestDatabaseFile) {
    files.DeleteFile(Get1.properties.FileName);
    if (partialMode_) partialRunBroken_ = true;
    views_.window.SetUpdateButtonsEnabled(true);
    return;
  }
  if (partialMode_) {
    views_.status0.SetText(Msg(Msg::FinishedPrefix) + std::to_string(partial_) + "/" +
                           std::to_string(lastPartial_));
    const std::string piece = session_.ProgramFile(kPieceFileName);
    const bool merged = merged_.ApplyUpdatePiece(files, piece);
    files.DeleteFile(piece);
    if (!merged) {
      partialRunBroken_ = true;
      Get1Error();
      return;
    }
    ++piecesMerged_;
    lastPieceSize_ = size;
    if (partial_ < lastPartial_) return;
    FinishPartialRun();
    return;
  }
  // The whole database replaces "files.dat" only once it decodes to a database.
  const std::string download = session_.ProgramFile(kWholeDownloadName);
  const auto bytes = files.ReadAll(download);
  if (!bytes || update::CheckDatabaseFile(bytes->data(), bytes->size()) !=
                    update::DatabaseCheck::Usable) {
    files.DeleteFile(download);
    Get1Error();
    return;
  }
  if (!database::ReplaceWithFullDownload(session_.Database(), files, session_.ProgramFolder()).ok()) {
    Get1Error();
    return;
  }
  TellDatabaseUpdated(size);
}

void UpdateCheck::FinishPartialRun() {
  const auto& text = merged_.Content();
  const std::string databasePath = session_.ProgramFile(database::kDatabaseFileName);
  if (update::CheckDatabaseText(text.data(), text.size()) != update::DatabaseCheck::Usable ||
      !merged_.SaveScrambled(session_.Platform().files, databasePath)) {
    partialRunBroken_ = true;
    Get1Error();
    return;
  }
  piecesMerged_ = 0;
  session_.LoadDatabase();
  TellDatabaseUpdated(lastPieceSize_);
}

void UpdateCheck::TellDatabaseUpdated(uint64_t size) {
  const std::string date = session_.DatabaseDate();
  views_.label2.SetText(Msg(Msg::DatabaseUpdatedDate) + date);
  views_.status2.SetText(Msg(Msg::LastUpdate) + date);
  views_.window.SetMainEnabled(false);
  views_.prompts.Tell(Prompt(PromptKind::UrgentInformation, Msg::DatabaseUpdatedLastDate,
                             Msg(Msg::DatabaseUpdatedLastDate) + date, kDatabaseUpdatedCaption));
  views_.window.SetMainEnabled(true);
  views_.status0.SetText(Msg(Msg::FinishedPrefix) + std::to_string(size) + Msg(Msg::Bytes));
  views_.window.SetUpdateButtonsEnabled(true);
}

void UpdateCheck::Get1Error() {
  if (partialMode_) partialRunBroken_ = true;
  views_.label2.SetText(Msg(Msg::CannotUpdateStatus));
  views_.prompts.Tell(Prompt(PromptKind::UrgentError, Msg::CannotUpdateDatabase,
                             Msg(Msg::CannotUpdateDatabase)));
  views_.window.RefreshDateTexts();
  views_.window.SetUpdateButtonsEnabled(true);
}

}  // namespace morvanta::runs
