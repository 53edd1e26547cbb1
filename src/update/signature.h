// Signatures of the update site's files. Every file the program fetches from the update
// server comes with a detached Ed25519 signature beside it (the same path + ".sig"), made
// with the maker's private key; the program checks it against the public key built into it
// before it reads, applies, replaces or runs anything it fetched.
//
// File formats:
//   - signature file (".sig"): the 64 bytes of the Ed25519 signature, raw, nothing else.
//   - private key file: text; lines that begin with '#' are comments; one line holds the
//     32-byte Ed25519 seed as 64 hexadecimal digits. Written in lower case, ended by LF.
//   - public key file (private key file + ".pub"): the same, with the 32-byte public key.
//
// The built-in public key is a build setting (MORVANTA_UPDATE_PUBLIC_KEY); by default it is
// the development key of keys/dev-update.key.pub, whose private half is in the repository.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvanta::update {

constexpr size_t kPublicKeySize = 32;
constexpr size_t kPrivateKeySize = 32;
constexpr size_t kSignatureSize = 64;

using PublicKey = std::array<uint8_t, kPublicKeySize>;
// The Ed25519 seed, from which the public key follows.
using PrivateKey = std::array<uint8_t, kPrivateKeySize>;
using Signature = std::array<uint8_t, kSignatureSize>;

struct KeyPair {
  PrivateKey privateKey{};
  PublicKey publicKey{};
};

// The key this build trusts for updates.
const PublicKey& UpdatePublicKey();
// True when that key is the development key whose private half is in the repository.
bool UpdatePublicKeyIsDevelopmentKey();

// True when `sig` is exactly a valid signature of the data by `key`'s private half.
bool VerifyUpdateSignature(const uint8_t* data, size_t size, const uint8_t* sig, size_t sigSize,
                           const PublicKey& key);
// The same against the built-in key.
bool VerifyUpdateSignature(const uint8_t* data, size_t size, const uint8_t* sig, size_t sigSize);

// For the publisher: a new key pair from the system's random source, the public half of a
// private key, and the detached signature of a file's bytes.
KeyPair GenerateUpdateKeyPair();
PublicKey PublicKeyOf(const PrivateKey& key);
Signature SignUpdateFile(const uint8_t* data, size_t size, const PrivateKey& key);

// Key files (see above). The readers take the file's bytes; nothing when they do not hold
// exactly one line of 64 hexadecimal digits besides comments and blank lines.
std::string PrivateKeyFileText(const PrivateKey& key);
std::string PublicKeyFileText(const PublicKey& key);
std::optional<PrivateKey> ReadPrivateKeyFile(const uint8_t* data, size_t size);
std::optional<PublicKey> ReadPublicKeyFile(const uint8_t* data, size_t size);

// 32 bytes from 64 hexadecimal digits (either case), and back in lower case.
std::optional<std::array<uint8_t, 32>> KeyFromHex(std::string_view hex);
std::string KeyToHex(const std::array<uint8_t, 32>& key);

}  // namespace morvanta::update
