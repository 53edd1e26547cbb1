// File digests in the database's text form, and file sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/files.h"

namespace morvanta::scan {

// MD5 of empty input: what an unreadable or empty file yields.
inline constexpr char kEmptyDigest[] = "d41d8cd98f00b204e9800998ecf8427e";

// MD5 (RFC 1321) of the bytes as 32 lower-case hexadecimal characters.
std::string DigestBytes(const uint8_t* data, size_t size);

// MD5 of the whole file, read through a read-only mapping opened with shared read and write
// access, so files that other programs hold open for writing are read too. Files of 4 GiB
// and more feed only the low 32 bits of their size in bytes, as the database's digests were
// made. Nothing when the file cannot be opened or mapped; an empty file (which cannot be
// mapped) has the empty-input digest.
std::optional<std::string> ReadFileDigest(platform::Files& files, const std::string& path);
// The same, with the empty-input digest for a file that cannot be read: what the scans and
// the inventory compare and write.
std::string FileDigest(platform::Files& files, const std::string& path);

// The file's size in bytes; 0 when it cannot be opened. Sizes above the largest 32-bit
// signed integer are reported as that largest value.
int32_t FileSize(platform::Files& files, const std::string& path);

}  // namespace morvanta::scan
