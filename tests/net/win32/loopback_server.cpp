#include "tests/net/win32/loopback_server.h"

#include <ws2tcpip.h>

#include <algorithm>

namespace velmora::testing {
namespace {

struct WinsockSession {
  WinsockSession() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockSession() { WSACleanup(); }
};

SOCKET listenOnLoopback(unsigned short& port) {
  static WinsockSession session;
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return listener;
}

std::string readRequestHead(SOCKET client) {
  std::string request;
  char buffer[1024];
  while (request.find("\r\n\r\n") == std::string::npos) {
    const int received = recv(client, buffer, sizeof buffer, 0);
    if (received <= 0) break;
    request.append(buffer, static_cast<size_t>(received));
  }
  return request;
}

bool sendAll(SOCKET client, const char* bytes, size_t count) {
  for (size_t sent = 0; sent < count;) {
    const int n = send(client, bytes + sent, static_cast<int>(count - sent), 0);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Sends the bytes before the pacing's start at once, then one byte per interval until the peer
// goes away or the server ends.
void sendPaced(SOCKET client, const std::string& bytes, const Pacing& pacing,
               const std::atomic<bool>& ending) {
  const size_t atOnce = std::min(pacing.trickleFrom, bytes.size());
  if (!sendAll(client, bytes.data(), atOnce)) return;
  for (size_t i = atOnce; i < bytes.size() && !ending; ++i) {
    Sleep(pacing.intervalMilliseconds);
    if (!sendAll(client, bytes.data() + i, 1)) return;
  }
}

}  // namespace

LoopbackServer::LoopbackServer(std::function<std::string(const std::string&)> respond,
                               Pacing pacing)
    : respond_(std::move(respond)), pacing_(pacing) {
  listener_ = listenOnLoopback(port_);
  listen(listener_, 8);
  thread_ = std::thread([this] { serve(); });
}

LoopbackServer::~LoopbackServer() {
  ending_ = true;
  closesocket(listener_);  // ends accept() in the serving thread
  thread_.join();
  for (std::thread& answering : answering_) answering.join();
}

std::string LoopbackServer::url(const std::string& pathAndQuery) const {
  return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::vector<std::string> LoopbackServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

unsigned short LoopbackServer::closedPort() {
  unsigned short port = 0;
  closesocket(listenOnLoopback(port));
  return port;
}

void LoopbackServer::serve() {
  for (;;) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    answering_.emplace_back([this, client] { answer(client); });
  }
}

void LoopbackServer::answer(SOCKET client) {
  const std::string request = readRequestHead(client);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  sendPaced(client, respond_(request), pacing_, ending_);
  shutdown(client, SD_SEND);
  closesocket(client);
}

}  // namespace velmora::testing
