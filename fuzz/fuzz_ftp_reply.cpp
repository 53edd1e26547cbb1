// FTP replies: the bytes of a control connection, read whole and again in pieces whose size
// the first byte chooses. Both readings must give the same replies and the same end, and
// every reply must keep the reader's limits.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "report/ftp_reply.h"

namespace {

using morvanta::report::FtpReply;
using morvanta::report::FtpReplyReader;
using morvanta::report::ReplyStatus;

struct Reading {
  std::vector<FtpReply> replies;
  ReplyStatus end = ReplyStatus::NeedMore;
};

Reading Read(const uint8_t* data, size_t size, size_t piece) {
  FtpReplyReader reader;
  Reading reading;
  for (size_t at = 0; at < size && reading.end != ReplyStatus::Malformed; at += piece) {
    const size_t n = size - at < piece ? size - at : piece;
    reader.Feed(reinterpret_cast<const char*>(data + at), n);
    FtpReply reply;
    while ((reading.end = reader.Next(reply)) == ReplyStatus::Reply) reading.replies.push_back(reply);
  }
  return reading;
}

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 16 + 1;
  const Reading whole = Read(data + 1, size - 1, size);
  const Reading pieces = Read(data + 1, size - 1, piece);
  Check(whole.end == pieces.end);
  Check(whole.replies.size() == pieces.replies.size());
  for (size_t i = 0; i < whole.replies.size(); ++i) {
    const FtpReply& r = whole.replies[i];
    Check(r.code == pieces.replies[i].code && r.lines == pieces.replies[i].lines);
    Check(r.code >= 100 && r.code <= 699);
    Check(!r.lines.empty() && r.lines.size() <= FtpReplyReader::kMaxLines);
    size_t bytes = 0;
    for (const auto& line : r.lines) {
      Check(line.size() + 2 <= FtpReplyReader::kMaxLineBytes);
      Check(line.find("\r\n") == std::string::npos);
      bytes += line.size() + 2;
    }
    Check(bytes <= FtpReplyReader::kMaxReplyBytes);
    Check(r.lines.back().compare(0, 3, std::to_string(r.code)) == 0);
  }
  return 0;
}
