#include "database/scramble.h"

namespace morvanta::database {
namespace {

enum class Direction { Scramble, Unscramble };

bool Transform(const uint8_t* source, size_t length, uint8_t* destination, const ScrambleKey& key,
               size_t checkLength, Direction direction) {
  if (length != checkLength) return false;
  uint16_t k = key.start;
  for (size_t i = 0; i < length; ++i) {
    const uint8_t in = source[i];
    const uint8_t out = static_cast<uint8_t>(in ^ (k >> 8));
    destination[i] = out;
    // The key advances on the plain byte in both directions, and the sum is taken to 8 bits
    // before the multiplication: a 16-bit sum gives another key stream.
    const uint8_t plain = direction == Direction::Scramble ? in : out;
    const uint32_t s = (plain + (k & 0xFFu)) & 0xFFu;
    k = static_cast<uint16_t>((s * key.multiplier + key.increment) & 0xFFFFu);
  }
  return true;
}

}  // namespace

bool ScrambleBytes(const uint8_t* source, size_t length, uint8_t* destination,
                   const ScrambleKey& key, size_t checkLength) {
  return Transform(source, length, destination, key, checkLength, Direction::Scramble);
}

bool UnscrambleBytes(const uint8_t* source, size_t length, uint8_t* destination,
                     const ScrambleKey& key, size_t checkLength) {
  return Transform(source, length, destination, key, checkLength, Direction::Unscramble);
}

}  // namespace morvanta::database
