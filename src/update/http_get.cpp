#include "update/http_get.h"

#include <vector>

#include "platform/text.h"

namespace morvanta::update {

HostAndPath SplitUrl(const std::string& url) {
  std::string address = url;
  if (platform::Contains(platform::AsciiLower(address), "http://")) address.erase(0, 7);
  const size_t slash = address.find('/');
  if (slash == std::string::npos) return {};
  return {address.substr(0, slash), address.substr(slash)};
}

HttpTransferResult RunHttpTransfer(platform::Internet& internet, platform::Files& files,
                                   const HttpGetProperties& p, const HttpProgress& progress,
                                   const std::atomic<bool>* stop) {
  HttpTransferResult result;
  const auto stopped = [stop] { return stop && stop->load(); };
  const HostAndPath where = SplitUrl(p.URL);
  if (stopped()) return result;
  platform::HttpRequest request;
  request.host = where.host;
  request.port = p.Port;
  request.path = where.path;
  request.agent = p.Agent;
  request.acceptTypes = p.AcceptTypes;
  request.useCache = p.UseCache;
  request.userName = p.UserName;
  request.password = p.Password;
  request.referer = p.Referer;
  request.postQuery = p.PostQuery;
  const auto response = where.host.empty() ? nullptr : internet.Send(request);
  if (stopped()) return result;
  const auto length = response ? response->ContentLength() : std::nullopt;
  if (stopped()) return result;
  if (!length && p.BinaryData) return result;
  // An error page is no resource, whatever its length.
  if (response && response->StatusCode() != 200) return result;
  if (length) result.totalSize = *length;
  const auto file = files.Open(p.FileName, platform::OpenMode::Write);
  if (!file) return result;
  if (!response) {
    // Nothing came: an empty file, and success with size 0, which callers take as nothing
    // fetched.
    result.success = true;
    return result;
  }
  std::vector<uint8_t> block(kHttpBlockSize);
  while (true) {
    if (stopped()) return result;
    const auto n = response->Read(block.data(), block.size());
    if (!n || *n == 0) break;
    if (!file->Write(block.data(), *n)) return result;
    result.readed += *n;
    if (progress) progress(result.totalSize, result.readed);
  }
  result.success = result.totalSize == result.readed;
  return result;
}

}  // namespace morvanta::update
