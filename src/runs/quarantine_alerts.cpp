#include "runs/quarantine_alerts.h"

#include "platform/text.h"
#include "remedy/process_ending.h"
#include "runs/fix.h"
#include "scan/path_tokens.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

class QuarantineRun {
 public:
  QuarantineRun(app::Session& session, QuarantineViews views)
      : s_(session), v_(views), p_(session.Platform()), scan_(session.Scan()) {}

  QuarantineResult Run() {
    time_ = p_.system.LongTimeText();
    v_.log.AddLine("");
    v_.log.AddLine(time_ + ": " + Msg(Msg::AddingToQuarantine));
    scan_.Abort.Clear();
    v_.controls.ShowRunning();
    for (size_t i = 0; i < scan_.Alerts.Size(); ++i) {
      if (scan_.Abort.IsSet()) break;
      // A copy: storing serves the window, and what it runs may change the list.
      const scan::Alert alert = scan_.Alerts[i];
      if (!IsSelectedFile(alert, v_.results)) continue;
      if (!Store(alert)) break;
    }
    result_.aborted = scan_.Abort.IsSet();
    // An aborted run ends the same way.
    v_.log.AddLine(time_ + Msg(Msg::CurrentProcessFinished));
    v_.log.AddLine(time_ + Msg(Msg::ToFixClickFix));
    v_.prompts.Tell({PromptKind::UrgentInformation, Msg::AlertsAddedToQuarantine,
                     std::to_string(result_.added) + Msg(Msg::AlertsAddedToQuarantine) + "\r\r" +
                         Msg(Msg::Note) + "\r" + Msg(Msg::ToCleanClickFix)});
    v_.status.SetText(Msg(Msg::ProcessFinished));
    v_.controls.ShowIdle(/*fixEnabled=*/true);
    return result_;
  }

 private:
  std::string Msg(common::Msg entry) const { return s_.Catalog().Text(entry); }

  // False when the run is to stop.
  bool Store(const scan::Alert& alert) {
    v_.status.SetText(Msg(Msg::AddInQuarantineStatus) + alert.ThreatName);
    v_.log.AddLine(time_ + Msg(Msg::AddInQuarantineLine) + alert.ThreatName);
    v_.pump.ProcessPendingMessages();
    if (!scan::IsFilePresent(p_.files, alert.Path)) return true;
    if (scan_.Abort.IsSet()) return false;
    remedy::KillProcessByName(p_.processes, platform::FileNamePart(alert.Path));
    if (platform::Contains(platform::AsciiLower(alert.ThreatName), "lock:")) return true;
    if (s_.Quarantine().AddToQuarantine(alert.Path, alert.ThreatName, alert.Md5, &v_.pump)) {
      v_.log.AddLine(time_ + Msg(Msg::FileAddedLine) + alert.Path);
      ++result_.added;
    } else {
      v_.log.AddLine(time_ + Msg(Msg::CannotAddFileLine) + alert.Path);
      ++result_.failed;
    }
    return true;
  }

  app::Session& s_;
  QuarantineViews v_;
  platform::Platform& p_;
  scan::ScanSession& scan_;
  std::string time_;
  QuarantineResult result_;
};

}  // namespace

QuarantineResult QuarantineAlerts(app::Session& session, QuarantineViews views) {
  return QuarantineRun(session, views).Run();
}

}  // namespace morvanta::runs
