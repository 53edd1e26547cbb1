// MD5 (RFC 1321), fed in pieces of any size. The digests the database compares are MD5s of
// whole files, so this sits on the path of every file the scans look at closely: the block
// function is written for speed (see md5.cpp), and the whole is checked against known answers
// and against an independent implementation in the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvanta::scan {

class Md5 {
 public:
  static constexpr size_t kDigestSize = 16;

  void Update(const uint8_t* data, size_t size);
  // The digest of everything fed so far; the object is not to be fed again after it.
  std::array<uint8_t, kDigestSize> Final();

 private:
  uint32_t state_[4] = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
  uint64_t length_ = 0;  // bytes fed, for the padding (modulo 2^64, as RFC 1321 has it)
  uint8_t buffer_[64] = {};
  size_t buffered_ = 0;
};

}  // namespace morvanta::scan
