#include "platform/fake/fake_internet.h"

#include <algorithm>
#include <cstring>

namespace morvanta::platform::fake {
namespace {

class FakeResponse : public HttpResponse {
 public:
  FakeResponse(int status, std::optional<uint64_t> length, std::string body)
      : status_(status), length_(length), body_(std::move(body)) {}
  int StatusCode() override { return status_; }
  std::optional<uint64_t> ContentLength() override { return length_; }
  std::optional<size_t> Read(uint8_t* buffer, size_t capacity) override {
    const size_t n = std::min(capacity, body_.size() - at_);
    if (n) std::memcpy(buffer, body_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  int status_;
  std::optional<uint64_t> length_;
  std::string body_;
  size_t at_ = 0;
};

}  // namespace

std::unique_ptr<HttpResponse> FakeInternet::Send(const HttpRequest& request) {
  requests_.push_back(request.host + request.path);
  const Place place{request.host, request.port};
  if (!hosts_.count(place)) return nullptr;
  const auto found = resources_.find({place, request.path});
  if (found == resources_.end()) {
    const std::string page = "<html>Not Found</html>";
    return std::make_unique<FakeResponse>(404, page.size(), page);
  }
  const Resource& r = found->second;
  std::optional<uint64_t> length;
  if (r.announceLength) length = r.announcedLength ? *r.announcedLength : r.body.size();
  return std::make_unique<FakeResponse>(r.status, length, r.body);
}

void FakeInternet::Put(const std::string& host, const std::string& path, std::string body,
                       uint16_t port) {
  Resource r;
  r.body = std::move(body);
  Put(host, path, std::move(r), port);
}

void FakeInternet::Put(const std::string& host, const std::string& path, Resource resource,
                       uint16_t port) {
  AddHost(host, port);
  resources_[{{host, port}, path}] = std::move(resource);
}

void FakeInternet::Remove(const std::string& host, const std::string& path, uint16_t port) {
  resources_.erase({{host, port}, path});
}

}  // namespace morvanta::platform::fake
