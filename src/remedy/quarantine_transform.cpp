#include "remedy/quarantine_transform.h"

#include <cryptopp/blowfish.h>
#include <cryptopp/ripemd.h>

#include <algorithm>

namespace morvanta::remedy {

struct QuarantineCipher::Keys {
  CryptoPP::Blowfish::Encryption encrypt;
  CryptoPP::Blowfish::Decryption decrypt;
};

QuarantineCipher::QuarantineCipher(std::string_view passphrase) : keys_(std::make_unique<Keys>()) {
  uint8_t key[CryptoPP::RIPEMD256::DIGESTSIZE];
  CryptoPP::RIPEMD256().CalculateDigest(key, reinterpret_cast<const uint8_t*>(passphrase.data()),
                                        passphrase.size());
  keys_->encrypt.SetKey(key, sizeof key);
  keys_->decrypt.SetKey(key, sizeof key);
  Block ones;
  ones.fill(0xFF);
  start_ = Encrypt(ones);
}

QuarantineCipher::~QuarantineCipher() = default;

QuarantineCipher::Block QuarantineCipher::Encrypt(const Block& block) const {
  Block out;
  keys_->encrypt.ProcessBlock(block.data(), out.data());
  return out;
}

QuarantineCipher::Block QuarantineCipher::Decrypt(const Block& block) const {
  Block out;
  keys_->decrypt.ProcessBlock(block.data(), out.data());
  return out;
}

QuarantineTransform::QuarantineTransform(const QuarantineCipher& cipher, Direction direction)
    : cipher_(cipher), direction_(direction), feedback_(cipher.StartValue()) {}

void QuarantineTransform::Process(uint8_t* data, size_t size) {
  size_t at = 0;
  QuarantineCipher::Block block;
  for (; at + 8 <= size; at += 8) {
    std::copy(data + at, data + at + 8, block.begin());
    if (direction_ == Direction::Store) {
      const QuarantineCipher::Block plain = cipher_.Decrypt(block);
      for (int i = 0; i < 8; ++i) {
        data[at + i] = static_cast<uint8_t>(plain[i] ^ feedback_[i]);
        feedback_[i] ^= block[i];
      }
    } else {
      for (int i = 0; i < 8; ++i) block[i] ^= feedback_[i];
      const QuarantineCipher::Block out = cipher_.Encrypt(block);
      for (int i = 0; i < 8; ++i) {
        data[at + i] = out[i];
        feedback_[i] ^= out[i];
      }
    }
  }
  if (at == size) return;
  // The last few bytes of the file, short of a block, in both directions alike.
  const QuarantineCipher::Block pad = cipher_.Encrypt(feedback_);
  for (size_t i = 0; at + i < size; ++i) data[at + i] ^= pad[i];
}

}  // namespace morvanta::remedy
