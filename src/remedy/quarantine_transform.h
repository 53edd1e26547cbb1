// The form a quarantined file is kept in: its bytes pass through Blowfish, keyed with the
// RIPEMD-256 digest of an eight-digit passphrase, in a feedback chain that makes a stored
// copy useless as a program. Storing then restoring gives back every byte; sizes stay.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace morvanta::remedy {

// The passphrase the program's own quarantine uses.
inline constexpr char kQuarantinePassphrase[] = "40719263";

// The keyed cipher; set up once, shared by every file's transform.
class QuarantineCipher {
 public:
  explicit QuarantineCipher(std::string_view passphrase = kQuarantinePassphrase);
  ~QuarantineCipher();
  QuarantineCipher(const QuarantineCipher&) = delete;
  QuarantineCipher& operator=(const QuarantineCipher&) = delete;

  using Block = std::array<uint8_t, 8>;
  Block Encrypt(const Block& block) const;
  Block Decrypt(const Block& block) const;
  // The feedback every file starts from: the encryption of eight 0xFF bytes.
  const Block& StartValue() const { return start_; }

 private:
  struct Keys;
  std::unique_ptr<Keys> keys_;
  Block start_{};
};

// One file's pass, in either direction, over its bytes in order.
class QuarantineTransform {
 public:
  enum class Direction { Store, Restore };
  QuarantineTransform(const QuarantineCipher& cipher, Direction direction);

  // Transforms the next piece of the file in place. Every piece but the last must be a
  // multiple of 8 bytes long, so how the file is cut does not change the result.
  void Process(uint8_t* data, size_t size);

 private:
  const QuarantineCipher& cipher_;
  Direction direction_;
  QuarantineCipher::Block feedback_;
};

}  // namespace morvanta::remedy
