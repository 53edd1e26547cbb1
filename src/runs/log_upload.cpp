#include "runs/log_upload.h"

#include <chrono>
#include <random>

#include "app/server_settings.h"
#include "report/ftp_client.h"
#include "report/log_password.h"
#include "report/send_log.h"

namespace morvanta::runs {
namespace {

using common::Msg;
using common::PromptKind;

// The window's side of the exchange: a message and a status text for each outcome.
class UploadEvents : public report::FtpObserver {
 public:
  UploadEvents(app::Session& session, LogUploadViews views) : s_(session), v_(views) {}

  void OnFtpEvent(report::FtpEvent event) override {
    switch (event) {
      case report::FtpEvent::TransactionStart:
        v_.status.SetText(Text(Msg::SendingLog));
        return;
      case report::FtpEvent::StoreSucceeded:
        s_.logUploadWanted = false;
        sent = true;
        v_.prompts.Tell({PromptKind::UrgentInformation, Msg::LogSentMessage,
                         Text(Msg::LogSentMessage)});
        v_.status.SetText(Text(Msg::LogSentStatus));
        return;
      case report::FtpEvent::Failure:
      case report::FtpEvent::Error:
      case report::FtpEvent::InvalidHost:
      case report::FtpEvent::AuthenticationFailed:
      case report::FtpEvent::ConnectionFailed:
        v_.prompts.Tell({PromptKind::UrgentError, Msg::CannotSendLog, Text(Msg::CannotSendLog)});
        v_.status.SetText(Text(Msg::LogError));
        return;
    }
  }

  // The upload ended by an error of its own steps.
  void Ended() {
    v_.prompts.Tell(
        {PromptKind::UrgentError, Msg::CannotSendLogFile, Text(Msg::CannotSendLogFile)});
    v_.status.SetText(Text(Msg::LogErrorStatus));
  }

  bool sent = false;

 private:
  std::string Text(Msg entry) const { return s_.Catalog().Text(entry); }

  app::Session& s_;
  LogUploadViews v_;
};

uint32_t ClockSeededNumber() {
  std::minstd_rand generator(static_cast<uint32_t>(
      std::chrono::system_clock::now().time_since_epoch().count()));
  return static_cast<uint32_t>(generator() % 10000);
}

}  // namespace

std::string RemoteLogName(const std::string& logonName, uint32_t number) {
  std::string name = logonName;
  for (char& c : name)
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20) c = '_';
  return name + std::to_string(number % 10000) + ".txt";
}

LogUploadResult UploadLog(app::Session& session, LogUploadViews views,
                          std::optional<uint32_t> randomNumber) {
  LogUploadResult result;
  if (!session.logUploadWanted) return result;
  result.attempted = true;
  auto& p = session.Platform();
  UploadEvents events(session, views);

  const std::string path = session.ProgramFile(report::kSendLogFile);
  if (!report::WriteSendLog(p.files, path, session.RunningObjects(), session.ScanLog())) {
    events.Ended();
    return result;
  }
  const app::ServerSettings settings = app::LoadServerSettings(p.files, session.ProgramFolder());
  report::FtpClientOptions options;
  options.timeoutMs = settings.log.timeoutSeconds * 1000;
  report::FtpClient client(p.sockets, views.pump, &events, options);
  // Built just before it is used, and gone with this frame.
  const std::string password =
      settings.log.password ? *settings.log.password : report::BuildLogPassword();
  if (!client.Connect(settings.log.host, settings.log.port).Ok() ||
      !client.Login(settings.log.account, password).Ok()) {
    events.Ended();
    return result;
  }
  views.status.SetText(session.Catalog().Text(Msg::SendingLog));
  const auto bytes = p.files.ReadAll(path);
  const uint64_t size = bytes ? bytes->size() : 0;
  if (size > 0) {
    result.remoteName = RemoteLogName(p.system.UserName(),
                                      randomNumber ? *randomNumber : ClockSeededNumber());
    const bool stored =
        client.Allo(size).Ok() &&
        client.Store(result.remoteName, std::string(bytes->begin(), bytes->end())).Ok();
    if (!stored) events.Ended();
  }
  client.Quit();
  result.sent = events.sent;
  return result;
}

}  // namespace morvanta::runs
