// Replies of an FTP server, read incrementally from the control connection's bytes.
//
// A reply is one or more lines ended by CR LF. A line whose first character is a blank, or
// whose fourth character is "-", is followed by more lines of the same reply; the reply
// code is taken from the last line, which must begin with three digits (the first from 1
// to 6) and a blank or its end. What a hostile or broken server may send instead (a line
// without end, a bad code, a reply without end) makes the reader fail, and stay failed.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace morvanta::report {

struct FtpReply {
  int code = 0;
  std::vector<std::string> lines;  // without their CR LF
};

enum class ReplyStatus { Reply, NeedMore, Malformed };

class FtpReplyReader {
 public:
  // The longest line with its CR LF; more lines in one reply, or more bytes, are failures.
  static constexpr size_t kMaxLineBytes = 2048;
  static constexpr size_t kMaxLines = 1000;
  static constexpr size_t kMaxReplyBytes = 64 * 1024;

  // Adds bytes as they came from the connection (ignored once the reader has failed).
  void Feed(const char* data, size_t size);
  // Takes the next complete reply into `reply`: Reply; NeedMore while it is incomplete;
  // Malformed from the first broken rule on.
  ReplyStatus Next(FtpReply& reply);
  bool Failed() const { return failed_; }

 private:
  ReplyStatus Fail();

  std::string buffer_;
  size_t start_ = 0;       // where the first unread line begins
  size_t searchFrom_ = 0;  // where no CR LF has been seen before
  std::vector<std::string> lines_;  // of the reply being read
  size_t replyBytes_ = 0;
  bool failed_ = false;
};

}  // namespace morvanta::report
