// HTTP over the system's internet functions: one request, its answer's length and its body
// read in blocks. The caller runs a transfer on a thread of its own when it must not wait.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace morvanta::platform {

struct HttpRequest {
  std::string host;
  uint16_t port = 80;
  std::string path = "/";
  std::string agent;               // empty: none
  std::string acceptTypes = "*/*";
  bool useCache = false;           // false: always from the server
  std::string userName;
  std::string password;
  std::string referer;
  std::string postQuery;           // not empty: a POST with this form body
};

// The server's answer; the connection closes with it.
class HttpResponse {
 public:
  virtual ~HttpResponse() = default;
  // The status code of the answer (200 for a body that is the resource).
  virtual int StatusCode() = 0;
  // The announced content length; nothing when the server sent none.
  virtual std::optional<uint64_t> ContentLength() = 0;
  // The next block of the body: its size (0 at the end), nothing on a failed read.
  virtual std::optional<size_t> Read(uint8_t* buffer, size_t capacity) = 0;
};

class Internet {
 public:
  virtual ~Internet() = default;
  // Sends the request; null when the server cannot be reached or the request fails.
  virtual std::unique_ptr<HttpResponse> Send(const HttpRequest& request) = 0;
};

}  // namespace morvanta::platform
