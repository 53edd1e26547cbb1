// An FTP client for storing one file on a server: the control connection with its login,
// ALLO, and STOR over an active data connection (we listen, the server connects to us).
//
// Every wait (for the connection, a reply, the data connection, the bytes to go out) has a
// timeout and runs in short slices with the window's message pump called between them, so
// the window stays responsive and a silent server ends the exchange. Operations return
// their outcome and report events to an observer as they go; nothing is thrown. Whatever
// breaks the exchange (a timeout, a lost connection, a broken reply) raises Error and closes
// the control connection, since nothing the server sends later could be matched to a command.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "common/views.h"
#include "platform/sockets.h"
#include "report/ftp_reply.h"

namespace morvanta::report {

// What the window hears of an exchange.
enum class FtpEvent {
  TransactionStart,      // the data connection is up; the bytes go out now
  StoreSucceeded,        // the server confirmed the stored file
  Failure,               // the server refused ALLO, PORT, STOR or the stored file
  Error,                 // the exchange broke: timeout, lost connection, broken reply
  InvalidHost,           // the server's name cannot be resolved
  AuthenticationFailed,  // the login ended without the server letting us in
  ConnectionFailed,      // nobody accepts at the address, or the server refused the
                         // greeting, the user or the password
};

class FtpObserver {
 public:
  virtual ~FtpObserver() = default;
  virtual void OnFtpEvent(FtpEvent event) = 0;
};

enum class FtpStatus {
  Ok,
  InvalidHost,        // the name cannot be resolved
  ConnectionFailed,   // the connection could not be made
  Refused,            // the server answered with a failure code (see `code`)
  LoginIncomplete,    // the login ended with a code that does not let us in (332, say)
  Timeout,            // no connection, reply or data connection in time
  Closed,             // the server closed the control connection
  BadReply,           // a reply that breaks the reply rules (ftp_reply.h)
  NetworkError,       // the system's sockets failed
  NotConnected,       // no control connection (never made, or closed after an error)
  BadArgument,        // a name or password with a line break in it
  Busy,               // called while another operation runs (from the message pump)
};

struct FtpResult {
  FtpResult() = default;
  FtpResult(FtpStatus status, int code = 0, std::string lastLine = {})
      : status(status), code(code), lastLine(std::move(lastLine)) {}

  FtpStatus status = FtpStatus::Ok;
  int code = 0;          // the code of the last reply read, 0 when none came
  std::string lastLine;  // that reply's last line
  bool Ok() const { return status == FtpStatus::Ok; }
};

struct FtpClientOptions {
  // The longest wait for the connection, for each reply, for the data connection, and
  // for the bytes to move on without progress.
  uint32_t timeoutMs = 30000;
  // The longest wait between two calls of the message pump.
  uint32_t sliceMs = 100;
};

class FtpClient {
 public:
  // `observer` may be null. All three must outlive the client.
  FtpClient(platform::Sockets& sockets, common::MessagePump& pump, FtpObserver* observer,
            FtpClientOptions options = {});
  ~FtpClient();
  FtpClient(const FtpClient&) = delete;
  FtpClient& operator=(const FtpClient&) = delete;

  // Opens the control connection and reads the greeting; a code above 400 is refused.
  // Events: InvalidHost, ConnectionFailed, Error.
  FtpResult Connect(const std::string& host, uint16_t port);
  // USER, and PASS when the server asks for it (331); a code above 400 and below 600 is
  // refused (event ConnectionFailed), any other code than 2xx at the end leaves us out
  // (AuthenticationFailed). Any failure closes the connection.
  FtpResult Login(const std::string& user, const std::string& password);
  // "ALLO size"; a code above 300 and below 600 is refused (event Failure).
  FtpResult Allo(uint64_t size);
  // Stores `bytes` as `remoteName`: TYPE I (so the bytes arrive unchanged), PORT with a listener on the control connection's local
  // address, STOR, the data connection accepted only from the control connection's peer,
  // the bytes, and the final reply. Events: Failure for a refused TYPE, PORT or STOR or a final
  // code from 400; TransactionStart, then StoreSucceeded; Error.
  FtpResult Store(const std::string& remoteName, const std::string& bytes);
  // Sends QUIT, reads the answer if one comes, closes. No events.
  FtpResult Quit();
  // Closes the control connection without a word.
  void Close();
  bool IsConnected() const { return control_ != nullptr; }

 private:
  FtpResult Raise(FtpResult result, FtpEvent event);
  FtpStatus SendAll(platform::Connection& c, const std::string& bytes);
  FtpStatus ReadReply(FtpReply& reply);
  // Sends a command line and reads its reply (after any preliminary 1xx ones when
  // `final` is set); closes the connection when the exchange breaks.
  FtpResult Command(const std::string& line, bool final = true);
  FtpResult BrokenExchange(FtpStatus status);

  platform::Sockets& sockets_;
  common::MessagePump& pump_;
  FtpObserver* observer_;
  FtpClientOptions options_;
  std::unique_ptr<platform::Connection> control_;
  FtpReplyReader reader_;
  FtpReply last_;
  bool busy_ = false;
};

}  // namespace morvanta::report
