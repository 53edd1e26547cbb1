#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "database/container.h"
#include "test_util.h"

namespace morvanta::database {
namespace {

using testing::Bytes;
using testing::CrLf;
using testing::DateLine;
using testing::Text;

const std::string kText = CrLf({DateLine('2'), "[Start]", "[Worm.A]:%%wt%%\\a.exe", "_end"});

// Lines of database text up to `size` bytes, varied enough that bzip2 cannot shrink them to
// nothing.
std::string GeneratedText(size_t size) {
  std::string text;
  for (unsigned i = 0; text.size() < size; ++i) {
    text += "[Worm.Gen." + std::to_string(i * 2654435761u) + "]:%%wt%%\\f" + std::to_string(i) +
            ".exe\r\n";
  }
  text.resize(size);
  return text;
}

TEST(Container, BothFormsDecodeToTheSameText) {
  const auto text = Bytes(kText);
  const auto packed = PackDatabase(text.data(), text.size());
  const auto piece = PackPiece(text.data(), text.size());
  EXPECT_NE(packed, piece);
  EXPECT_EQ(Text(DecodeContainer(packed.data(), packed.size())), kText);
  EXPECT_EQ(Text(DecodeContainer(piece.data(), piece.size())), kText);
}

TEST(Container, Bzip2RoundTripAcrossChunkBoundaries) {
  for (size_t size :
       {size_t{0}, size_t{1}, kBzip2Chunk - 1, kBzip2Chunk, kBzip2Chunk + 1, 3 * kBzip2Chunk + 7}) {
    SCOPED_TRACE(size);
    const auto text = Bytes(GeneratedText(size));
    const auto compressed = Bzip2Compress(text.data(), text.size());
    const auto back = Bzip2Decompress(compressed.data(), compressed.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, text);
  }
}

// The loader keeps the unscrambled bytes as the text whenever the bzip2 step fails.
TEST(Container, FailedDecompressionKeepsTheUnscrambledBytes) {
  const auto text = Bytes(GeneratedText(5000));
  const auto stream = Bzip2Compress(text.data(), text.size());
  const auto other = Bzip2Compress(text.data(), 100);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"damaged block", stream},
      {"trailing byte", stream},
      {"second stream", stream},
      {"truncated", std::vector<uint8_t>(stream.begin(), stream.end() - 4)},
      {"header only", std::vector<uint8_t>(stream.begin(), stream.begin() + 4)},
      {"not bzip2", Bytes(kText)},
      {"empty", {}},
  };
  cases[0].bytes[stream.size() / 2] ^= 0x55;
  cases[1].bytes.push_back('x');
  cases[2].bytes.insert(cases[2].bytes.end(), other.begin(), other.end());

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(Bzip2Decompress(c.bytes.data(), c.bytes.size()));
    const auto container = Scramble(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(DecodeContainer(container.data(), container.size()), c.bytes);
  }
}

TEST(Container, OutputPastTheLimitCountsAsFailed) {
  const std::vector<uint8_t> text(200000, 'a');
  const auto stream = Bzip2Compress(text.data(), text.size());
  EXPECT_FALSE(Bzip2Decompress(stream.data(), stream.size(), text.size() - 1));
  EXPECT_TRUE(Bzip2Decompress(stream.data(), stream.size(), text.size()));
  const auto container = Scramble(stream.data(), stream.size());
  EXPECT_EQ(DecodeContainer(container.data(), container.size(), 1000), stream);
}

TEST(Container, RecognisesEachFormForTheTool) {
  const auto text = Bytes(kText);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    ContainerForm form;
    std::vector<uint8_t> decoded;
  };
  const Case cases[] = {
      {"plain", text, ContainerForm::PlainText, text},
      {"packed", PackDatabase(text.data(), text.size()), ContainerForm::Packed, text},
      {"piece", PackPiece(text.data(), text.size()), ContainerForm::Scrambled, text},
      {"empty", {}, ContainerForm::PlainText, {}},
  };
  const auto packed = PackDatabase(text.data(), text.size());
  const std::vector<uint8_t> truncated(packed.begin(), packed.begin() + packed.size() / 2);
  std::vector<uint8_t> noise(3000);
  uint32_t x = 12345;
  for (auto& b : noise) b = static_cast<uint8_t>((x = x * 1103515245 + 12345) >> 24);
  for (const auto& c : {std::make_pair("truncated packed database", truncated),
                        std::make_pair("random bytes", noise)}) {
    SCOPED_TRACE(c.first);
    EXPECT_EQ(DecodeAnyForm(c.second.data(), c.second.size()).form, ContainerForm::Damaged);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto decoded = DecodeAnyForm(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(decoded.form, c.form);
    EXPECT_EQ(decoded.text, c.decoded);
  }
}

}  // namespace
}  // namespace morvanta::database
