// One HTTP transfer into a file, as `THTTPGet`'s worker makes it: the address split into
// host and path, the request, the content length, the body written block by block with the
// progress told after each, and success when the bytes read are the length announced.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/files.h"
#include "platform/internet.h"

namespace morvanta::update {

// `THTTPGet`'s properties, with the defaults its constructor sets.
struct HttpGetProperties {
  std::string AcceptTypes = "*/*";
  std::string Agent = "Quorrin HTTPGet";
  bool BinaryData = false;  // a content length is required
  std::string URL;
  bool UseCache = false;
  std::string FileName;
  std::string UserName;
  std::string Password;
  std::string PostQuery;
  std::string Referer;
  bool WaitThread = false;
  uint16_t Port = 80;  // the server's port; the settings file may name another than 80
};

// The agent name of the program's own transfers.
inline constexpr char kProgramAgent[] = "Ostrel HTTPGet";
// Bytes per read.
inline constexpr size_t kHttpBlockSize = 4097;

struct HostAndPath {
  std::string host;
  std::string path;
};
// "http://" (in any letter case) taken off the front; the host up to the first "/", the
// path from there. No "/" gives an empty host.
HostAndPath SplitUrl(const std::string& url);

struct HttpTransferResult {
  bool success = false;
  uint64_t totalSize = 0;  // the content length; 0 when the server sent none
  uint64_t readed = 0;
};

using HttpProgress = std::function<void(uint64_t totalSize, uint64_t readed)>;

// The worker's run. `stop` (when given) is looked at before the request, after it, after
// the length and before every block. An answer other than 200, or a file that cannot be
// written, is a failure; the partial file stays where it was written.
HttpTransferResult RunHttpTransfer(platform::Internet& internet, platform::Files& files,
                                   const HttpGetProperties& properties,
                                   const HttpProgress& progress = {},
                                   const std::atomic<bool>* stop = nullptr);

}  // namespace morvanta::update
