#include "platform/win32/internet_win32.h"

#include <cstdlib>

#include "platform/win32/handle.h"
#include "platform/win32/win_api.h"

#include <wininet.h>

namespace morvanta::platform::win32 {
namespace {

struct InternetDeleter {
  static HINTERNET Invalid() { return nullptr; }
  static void Close(HINTERNET h) { ::InternetCloseHandle(h); }
};
using InternetHandle = UniqueHandle<HINTERNET, InternetDeleter>;

const char* OrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

class Win32Response : public HttpResponse {
 public:
  // Members close request, connection, session: the reverse of their declaration.
  Win32Response(InternetHandle session, InternetHandle connection, InternetHandle request)
      : session_(std::move(session)),
        connection_(std::move(connection)),
        request_(std::move(request)) {}

  int StatusCode() override {
    DWORD code = 0, size = sizeof code;
    if (!::HttpQueryInfoA(request_.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code,
                          &size, nullptr))
      return 0;
    return static_cast<int>(code);
  }

  std::optional<uint64_t> ContentLength() override {
    char text[64] = {};
    DWORD size = sizeof text - 1;
    if (!::HttpQueryInfoA(request_.Get(), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
      return std::nullopt;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text) return std::nullopt;
    return value;
  }

  std::optional<size_t> Read(uint8_t* buffer, size_t capacity) override {
    DWORD read = 0;
    if (!::InternetReadFile(request_.Get(), buffer, static_cast<DWORD>(capacity), &read))
      return std::nullopt;
    return read;
  }

 private:
  InternetHandle session_;
  InternetHandle connection_;
  InternetHandle request_;
};

}  // namespace

std::unique_ptr<HttpResponse> Win32Internet::Send(const HttpRequest& r) {
  InternetHandle session(
      ::InternetOpenA(OrNull(r.agent), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return nullptr;
  InternetHandle connection(::InternetConnectA(session.Get(), r.host.c_str(), r.port,
                                               OrNull(r.userName), OrNull(r.password),
                                               INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return nullptr;
  const std::string accept = r.acceptTypes;
  const char* acceptTypes[] = {accept.c_str(), nullptr};
  const bool post = !r.postQuery.empty();
  DWORD flags = INTERNET_FLAG_NO_UI;
  if (!r.useCache) flags |= INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  InternetHandle request(::HttpOpenRequestA(connection.Get(), post ? "POST" : "GET",
                                            r.path.c_str(), "HTTP/1.0", OrNull(r.referer),
                                            acceptTypes, flags, 0));
  if (!request) return nullptr;
  static const char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded";
  std::string body = r.postQuery;
  const BOOL sent =
      post ? ::HttpSendRequestA(request.Get(), kFormHeader, sizeof kFormHeader - 1, body.data(),
                                static_cast<DWORD>(body.size()))
           : ::HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0);
  if (!sent) return nullptr;
  return std::make_unique<Win32Response>(std::move(session), std::move(connection),
                                         std::move(request));
}

}  // namespace morvanta::platform::win32
