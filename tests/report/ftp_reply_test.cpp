#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/ftp_reply.h"

namespace morvanta::report {
namespace {

struct Read {
  std::vector<FtpReply> replies;
  ReplyStatus end = ReplyStatus::NeedMore;
};

// Feeds `bytes` in pieces of `piece` bytes, taking every reply as soon as it is complete.
Read ReadAll(const std::string& bytes, size_t piece) {
  FtpReplyReader reader;
  Read read;
  for (size_t at = 0; at < bytes.size() && read.end != ReplyStatus::Malformed; at += piece) {
    const std::string part = bytes.substr(at, piece);
    reader.Feed(part.data(), part.size());
    FtpReply reply;
    while ((read.end = reader.Next(reply)) == ReplyStatus::Reply) read.replies.push_back(reply);
  }
  return read;
}

std::string Repeat(const std::string& text, size_t times) {
  std::string all;
  for (size_t i = 0; i < times; ++i) all += text;
  return all;
}

TEST(FtpReplyReader, ReadsRepliesByTheLineRules) {
  const struct Case {
    const char* name;
    std::string bytes;
    std::vector<int> codes;
    std::vector<size_t> lineCounts;
    ReplyStatus end;
  } cases[] = {
      {"one line", "220 Ready.\r\n", {220}, {1}, ReplyStatus::NeedMore},
      {"a bare code", "200\r\n", {200}, {1}, ReplyStatus::NeedMore},
      {"two replies", "331 Password?\r\n230 In.\r\n", {331, 230}, {1, 1}, ReplyStatus::NeedMore},
      {"dash lines", "230-Welcome\r\n230-to here\r\n230 In.\r\n", {230}, {3}, ReplyStatus::NeedMore},
      {"blank lines", "211-Features:\r\n EPRT\r\n UTF8\r\n211 End\r\n", {211}, {4},
       ReplyStatus::NeedMore},
      {"code from the last line", "220-x\r\n 500 y\r\n421 Busy.\r\n", {421}, {3},
       ReplyStatus::NeedMore},
      {"incomplete line", "220 Rea", {}, {}, ReplyStatus::NeedMore},
      {"incomplete reply", "220-Welcome\r\n", {}, {}, ReplyStatus::NeedMore},
      {"bare LF is no line end", "220 Ready.\n", {}, {}, ReplyStatus::NeedMore},
      {"letters for a code", "2x0 Ready.\r\n", {}, {}, ReplyStatus::Malformed},
      {"four digits", "2200 Ready.\r\n", {}, {}, ReplyStatus::Malformed},
      {"two digits", "22\r\n", {}, {}, ReplyStatus::Malformed},
      {"an empty line", "\r\n", {}, {}, ReplyStatus::Malformed},
      {"code out of range", "700 Odd.\r\n", {}, {}, ReplyStatus::Malformed},
      {"tab after the code", "220\tReady.\r\n", {}, {}, ReplyStatus::Malformed},
      {"good, then bad", "220 Ready.\r\nhello\r\n", {220}, {1}, ReplyStatus::Malformed},
      {"longest line", "220 " + std::string(FtpReplyReader::kMaxLineBytes - 6, 'x') + "\r\n", {220},
       {1}, ReplyStatus::NeedMore},
      {"overlong line", "220 " + std::string(FtpReplyReader::kMaxLineBytes - 5, 'x') + "\r\n", {}, {},
       ReplyStatus::Malformed},
      {"overlong line without end", "220 " + std::string(100000, 'x'), {}, {},
       ReplyStatus::Malformed},
      {"most lines", "220-a\r\n" + Repeat(" b\r\n", FtpReplyReader::kMaxLines - 2) + "220 c\r\n",
       {220}, {FtpReplyReader::kMaxLines}, ReplyStatus::NeedMore},
      {"endless reply", "220-a\r\n" + Repeat(" b\r\n", 5000), {}, {}, ReplyStatus::Malformed},
      {"too many bytes", "220-a\r\n" + Repeat(" " + std::string(1000, 'b') + "\r\n", 70), {}, {},
       ReplyStatus::Malformed},
  };
  for (const auto& c : cases) {
    for (size_t piece : {c.bytes.size() + 1, size_t{1}, size_t{7}}) {
      SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
      const Read read = ReadAll(c.bytes, piece);
      std::vector<int> codes;
      std::vector<size_t> lineCounts;
      for (const auto& r : read.replies) {
        codes.push_back(r.code);
        lineCounts.push_back(r.lines.size());
      }
      EXPECT_EQ(codes, c.codes);
      EXPECT_EQ(lineCounts, c.lineCounts);
      EXPECT_EQ(read.end, c.end);
    }
  }
}

TEST(FtpReplyReader, KeepsTheLinesWithoutTheirEnds) {
  const Read read = ReadAll("230-Welcome\r\n to here\r\n230 In.\r\n", 3);
  ASSERT_EQ(read.replies.size(), 1u);
  EXPECT_EQ(read.replies[0].lines, (std::vector<std::string>{"230-Welcome", " to here", "230 In."}));
}

TEST(FtpReplyReader, StaysFailedAfterABrokenRule) {
  FtpReplyReader reader;
  const std::string bad = "xyz\r\n220 Ready.\r\n";
  reader.Feed(bad.data(), bad.size());
  FtpReply reply;
  EXPECT_EQ(reader.Next(reply), ReplyStatus::Malformed);
  const std::string good = "220 Ready.\r\n";
  reader.Feed(good.data(), good.size());
  EXPECT_EQ(reader.Next(reply), ReplyStatus::Malformed);
  EXPECT_TRUE(reader.Failed());
}

}  // namespace
}  // namespace morvanta::report
