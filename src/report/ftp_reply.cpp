#include "report/ftp_reply.h"

#include <algorithm>

namespace morvanta::report {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The code of a reply's last line; 0 when the line does not begin with one.
int CodeOf(const std::string& line) {
  if (line.size() < 3 || line[0] < '1' || line[0] > '6' || !IsDigit(line[1]) || !IsDigit(line[2]))
    return 0;
  if (line.size() > 3 && line[3] != ' ') return 0;
  return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
}

bool IsFollowedByMore(const std::string& line) {
  return (!line.empty() && line[0] == ' ') || (line.size() >= 4 && line[3] == '-');
}

}  // namespace

void FtpReplyReader::Feed(const char* data, size_t size) {
  if (!failed_) buffer_.append(data, size);
}

ReplyStatus FtpReplyReader::Fail() {
  failed_ = true;
  buffer_.clear();
  lines_.clear();
  start_ = searchFrom_ = 0;
  return ReplyStatus::Malformed;
}

ReplyStatus FtpReplyReader::Next(FtpReply& reply) {
  if (failed_) return ReplyStatus::Malformed;
  for (;;) {
    const size_t end = buffer_.find("\r\n", searchFrom_);
    if (end == std::string::npos) {
      const size_t pending = buffer_.size() - start_;
      // With its CR LF still to come the line would be longer than allowed.
      if (pending >= kMaxLineBytes) return Fail();
      // A CR at the end may begin the CR LF the next bytes complete.
      searchFrom_ = std::max(start_, buffer_.empty() ? 0 : buffer_.size() - 1);
      if (start_ > 0) {
        buffer_.erase(0, start_);
        searchFrom_ -= start_;
        start_ = 0;
      }
      return ReplyStatus::NeedMore;
    }
    const size_t lineBytes = end + 2 - start_;
    if (lineBytes > kMaxLineBytes) return Fail();
    lines_.emplace_back(buffer_, start_, end - start_);
    start_ = searchFrom_ = end + 2;
    replyBytes_ += lineBytes;
    if (lines_.size() > kMaxLines || replyBytes_ > kMaxReplyBytes) return Fail();
    if (IsFollowedByMore(lines_.back())) continue;
    const int code = CodeOf(lines_.back());
    if (code == 0) return Fail();
    reply.code = code;
    reply.lines = std::move(lines_);
    lines_.clear();
    replyBytes_ = 0;
    return ReplyStatus::Reply;
  }
}

}  // namespace morvanta::report
