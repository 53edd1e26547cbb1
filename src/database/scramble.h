// The keyed byte routine that protects the database, update pieces and language files.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvanta::database {

// The three words of a key: the running key starts at `start` for every call and advances
// as (s * multiplier + increment) mod 2^16, s being the plain byte plus the key's low byte
// reduced to 8 bits.
struct ScrambleKey {
  uint16_t multiplier;
  uint16_t increment;
  uint16_t start;
};

// The program's key. Every shipped "files.dat", update piece and language file was written
// with it, so these values never change (tools/pack_database.py carries the same three).
constexpr ScrambleKey kScrambleKey{0x9E37, 0x7F4B, 0xC3A5};

// Transform `length` bytes from `source` into `destination` (which may be `source` itself).
// When `length` differs from `checkLength` nothing is written and the result is false.
bool ScrambleBytes(const uint8_t* source, size_t length, uint8_t* destination,
                   const ScrambleKey& key, size_t checkLength);
bool UnscrambleBytes(const uint8_t* source, size_t length, uint8_t* destination,
                     const ScrambleKey& key, size_t checkLength);

}  // namespace morvanta::database
