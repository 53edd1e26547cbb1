// Made-up web servers: resources at host and path, with or without a content length, and
// answers cut short, for the tests of the downloads.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/internet.h"

namespace morvanta::platform::fake {

class FakeInternet : public Internet {
 public:
  struct Resource {
    std::string body;
    bool announceLength = true;
    // The length announced, when it differs from the body's (an answer cut short).
    std::optional<uint64_t> announcedLength;
    int status = 200;
  };

  std::unique_ptr<HttpResponse> Send(const HttpRequest& request) override;

  // Serves `body` at http://host:port/path from now on.
  void Put(const std::string& host, const std::string& path, std::string body, uint16_t port = 80);
  void Put(const std::string& host, const std::string& path, Resource resource, uint16_t port = 80);
  void Remove(const std::string& host, const std::string& path, uint16_t port = 80);
  // Hosts that answer (any path: 404 when nothing is there); others cannot be reached.
  void AddHost(const std::string& host, uint16_t port = 80) { hosts_[{host, port}] = true; }
  // Every request made, as host + path.
  const std::vector<std::string>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }

 private:
  using Place = std::pair<std::string, uint16_t>;
  std::map<Place, bool> hosts_;
  std::map<std::pair<Place, std::string>, Resource> resources_;
  std::vector<std::string> requests_;
};

}  // namespace morvanta::platform::fake
