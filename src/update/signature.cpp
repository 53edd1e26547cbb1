#include "update/signature.h"

#include <cryptopp/osrng.h>
#include <cryptopp/xed25519.h>

#include <algorithm>
#include <cstdlib>
#include <exception>

#include "update_public_key.h"  // written by the build from MORVANTA_UPDATE_PUBLIC_KEY

namespace morvanta::update {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  return line;
}

std::optional<std::array<uint8_t, 32>> ReadKeyFile(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), data ? size : 0);
  std::optional<std::array<uint8_t, 32>> key;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    if (key) return std::nullopt;  // a second key line: not a key file of ours
    key = KeyFromHex(line);
    if (!key) return std::nullopt;
  }
  return key;
}

// Ed25519 signs without randomness; Crypto++ still asks for a generator, which must not be
// used.
CryptoPP::RandomNumberGenerator& UnusedGenerator() { return CryptoPP::NullRNG(); }

}  // namespace

const PublicKey& UpdatePublicKey() {
  static const PublicKey key = [] {
    const auto parsed = KeyFromHex(kUpdatePublicKeyHex);
    // The build checks the setting's form, so this cannot fail in a built program.
    if (!parsed) std::abort();
    return *parsed;
  }();
  return key;
}

bool UpdatePublicKeyIsDevelopmentKey() { return kUpdatePublicKeyIsDevelopmentKey; }

bool VerifyUpdateSignature(const uint8_t* data, size_t size, const uint8_t* sig, size_t sigSize,
                           const PublicKey& key) {
  if (!sig || sigSize != kSignatureSize) return false;
  static const uint8_t kNothing = 0;
  if (!data) {
    if (size != 0) return false;
    data = &kNothing;
  }
  try {
    CryptoPP::ed25519Verifier verifier(key.data());
    return verifier.VerifyMessage(data, size, sig, sigSize);
  } catch (const std::exception&) {
    return false;
  }
}

bool VerifyUpdateSignature(const uint8_t* data, size_t size, const uint8_t* sig,
                           size_t sigSize) {
  return VerifyUpdateSignature(data, size, sig, sigSize, UpdatePublicKey());
}

KeyPair GenerateUpdateKeyPair() {
  KeyPair pair;
  CryptoPP::AutoSeededRandomPool random;
  random.GenerateBlock(pair.privateKey.data(), pair.privateKey.size());
  pair.publicKey = PublicKeyOf(pair.privateKey);
  return pair;
}

PublicKey PublicKeyOf(const PrivateKey& key) {
  const CryptoPP::ed25519Signer signer(key.data());
  const auto& secret = static_cast<const CryptoPP::ed25519PrivateKey&>(signer.GetPrivateKey());
  PublicKey result;
  std::copy(secret.GetPublicKeyBytePtr(), secret.GetPublicKeyBytePtr() + result.size(),
            result.begin());
  return result;
}

Signature SignUpdateFile(const uint8_t* data, size_t size, const PrivateKey& key) {
  static const uint8_t kNothing = 0;
  if (!data) {
    data = &kNothing;
    size = 0;
  }
  const CryptoPP::ed25519Signer signer(key.data());
  Signature sig{};
  signer.SignMessage(UnusedGenerator(), data, size, sig.data());
  return sig;
}

std::string PrivateKeyFileText(const PrivateKey& key) {
  return "# Morvanta Pro update signing key: keep it secret. Its public half is in the .pub "
         "file.\n" +
         KeyToHex(key) + "\n";
}

std::string PublicKeyFileText(const PublicKey& key) {
  return "# Morvanta Pro update public key: give it to the release build as "
         "MORVANTA_UPDATE_PUBLIC_KEY.\n" +
         KeyToHex(key) + "\n";
}

std::optional<PrivateKey> ReadPrivateKeyFile(const uint8_t* data, size_t size) {
  return ReadKeyFile(data, size);
}

std::optional<PublicKey> ReadPublicKeyFile(const uint8_t* data, size_t size) {
  return ReadKeyFile(data, size);
}

std::optional<std::array<uint8_t, 32>> KeyFromHex(std::string_view hex) {
  std::array<uint8_t, 32> key{};
  if (hex.size() != key.size() * 2) return std::nullopt;
  for (size_t i = 0; i < key.size(); ++i) {
    const int high = HexDigit(hex[2 * i]);
    const int low = HexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    key[i] = static_cast<uint8_t>(high * 16 + low);
  }
  return key;
}

std::string KeyToHex(const std::array<uint8_t, 32>& key) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(key.size() * 2);
  for (const uint8_t b : key) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0x0F];
  }
  return hex;
}

}  // namespace morvanta::update
