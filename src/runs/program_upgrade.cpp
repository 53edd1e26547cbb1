#include "runs/program_upgrade.h"

#include <algorithm>

#include "runs/update_check.h"
#include "update/update_list.h"

namespace morvanta::runs {

using common::Msg;
using common::Prompt;
using common::PromptKind;

int UpgradeBarPosition(uint64_t totalSize, uint64_t readed) {
  constexpr uint64_t kFull = 100;
  const uint64_t step = totalSize / 100;
  if (step == 0) return totalSize == 0 ? 0 : static_cast<int>(std::min(kFull, readed * 100 / totalSize));
  if (readed == step) return 1;
  const uint64_t steps = (readed + step - 1) / step;  // rounded up
  return static_cast<int>(std::min(kFull, steps == 0 ? 0 : steps - 1));
}

ProgramUpgrade::ProgramUpgrade(app::Session& session, common::UiTasks& tasks,
                               ProgramUpgradeViews views)
    : Get1(session.Platform().internet, session.Platform().files, tasks, views.pump),
      session_(session),
      views_(views) {
  Get1.properties.Agent = update::kProgramAgent;
  Get1.properties.BinaryData = false;
  Get1.properties.WaitThread = false;
  Get1.Signed = true;
  Get1.OnProgress = [this](update::THTTPGet&, uint64_t total, uint64_t readed) {
    Progress(total, readed);
  };
  Get1.OnDoneFile = [this](update::THTTPGet&, const std::string&, uint64_t size) { Done(size); };
}

void ProgramUpgrade::Start() {
  AimAtUpdateServer(Get1, session_, update::kProgramPath, update::kProgramFileName);
  Get1.StartDownload();
}

void ProgramUpgrade::Progress(uint64_t totalSize, uint64_t readed) {
  views_.window.SetBarPosition(UpgradeBarPosition(totalSize, readed));
  views_.label2.SetText(Msg(Msg::Downloading) + std::to_string(readed) + "/" +
                        std::to_string(totalSize) + Msg(Msg::Bytes));
}

void ProgramUpgrade::Done(uint64_t size) {
  if (size == 0) return;  // nothing came: the window stays for the user to close
  views_.label2.SetText(Msg(Msg::FinishedDots));
  views_.prompts.Tell(Prompt(PromptKind::UrgentInformation, Msg::ProgramUpgraded,
                             Msg(Msg::ProgramUpgraded), Msg(Msg::Finished)));
  session_.Platform().shell.Open(session_.ProgramFile(update::kProgramFileName));
  views_.window.EndProgram(1);
}

bool ProgramUpgrade::CloseQuery() {
  if (!views_.prompts.Ask(Prompt(PromptKind::Question, Msg::AbortCurrentProcess,
                                 Msg(Msg::AbortCurrentProcess), Msg(Msg::Question))))
    return false;
  Get1.CancelDownload();
  session_.Platform().files.DeleteFile(session_.ProgramFile(update::kProgramFileName));
  views_.window.SetMainEnabled(true);
  return true;
}

}  // namespace morvanta::runs
