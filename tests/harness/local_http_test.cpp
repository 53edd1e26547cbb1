// The harness's own check of its server pattern: a fixture starts Python's http.server on
// 127.0.0.1 and a free port, this test fetches a file from it over a plain socket.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include <gtest/gtest.h>

namespace {

int ServerPort() {
  const char* portFile = std::getenv("MORVANTA_HTTP_PORT_FILE");
  if (!portFile) return 0;
  std::ifstream in(portFile);
  int port = 0;
  in >> port;
  return port;
}

std::string HttpGet(int port, const std::string& path) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return "";
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string reply;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    std::string request = "GET " + path + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (::send(fd, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
      char buffer[4096];
      ssize_t n;
      while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, n);
    }
  }
  ::close(fd);
  return reply;
}

TEST(LocalHttpServer, ServesTheFixtureFolder) {
  int port = ServerPort();
  ASSERT_GT(port, 0) << "the http fixture did not leave a port";
  std::string reply = HttpGet(port, "/probe.txt");
  EXPECT_EQ(reply.rfind("HTTP/1.0 200", 0), 0u) << reply;
  EXPECT_NE(reply.find("\r\n\r\nfiles.dat served over HTTP\r\n"), std::string::npos) << reply;
  EXPECT_EQ(HttpGet(port, "/missing.htm").rfind("HTTP/1.0 404", 0), 0u);
}

}  // namespace
