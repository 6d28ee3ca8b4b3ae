#include "tests/service/service_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "tests/service/service_test_support.h"

namespace velmora::testing {

ServiceProcess::ServiceProcess(const std::string& database, const std::string& log,
                               const std::string& port, const std::vector<std::string>& options,
                               int errorOutput) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw std::runtime_error("no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  if (errorOutput >= 0) posix_spawn_file_actions_adddup2(&actions, errorOutput, STDERR_FILENO);
  std::vector<std::string> arguments{VELMORA_SERVICE_PROGRAM, "--port", port, "--database",
                                     database};
  if (!log.empty()) arguments.insert(arguments.end(), {"--log", log});
  arguments.insert(arguments.end(), options.begin(), options.end());
  pid_ = startProgram(std::move(arguments), actions);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (pid_ == 0) throw std::runtime_error("cannot start the service");
  output_ = fdopen(pipeEnds[0], "r");
  // What the service prints before it listens (a provider's balance) comes first.
  char line[128] = {};
  while (port_ == 0 && std::fgets(line, sizeof line, output_)) {
    if (firstLine_.empty()) firstLine_ = line;
    std::sscanf(line, "listening on 127.0.0.1:%d", &port_);
  }
}

ServiceProcess::~ServiceProcess() {
  if (pid_ > 0) stop();
  if (output_) std::fclose(output_);
}

int ServiceProcess::stop() {
  using namespace std::chrono;
  kill(pid_, SIGTERM);
  int status = 0;
  const auto deadline = steady_clock::now() + seconds(kStopPatienceSeconds);
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(milliseconds(10));
  }
  pid_ = 0;
  return status;
}

int ServiceProcess::connectTo(int port, const char* from) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in client{};
  client.sin_family = AF_INET;
  inet_pton(AF_INET, from, &client.sin_addr);
  sockaddr_in service{};
  service.sin_family = AF_INET;
  service.sin_port = htons(static_cast<uint16_t>(port));
  service.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(connection, reinterpret_cast<sockaddr*>(&client), sizeof client) == 0 &&
      ::connect(connection, reinterpret_cast<sockaddr*>(&service), sizeof service) == 0) {
    return connection;
  }
  close(connection);
  return -1;
}

std::string ServiceProcess::exchangeWith(int port, const std::string& request, bool awaitReply,
                                         const char* from) {
  const int connection = connectTo(port, from);
  const timeval patience{kReplyPatienceSeconds, 0};
  setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
  std::string response;
  if (connection >= 0 &&
      send(connection, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size()) &&
      awaitReply) {
    char buffer[4096];
    for (ssize_t got; (got = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
      response.append(buffer, static_cast<size_t>(got));
    }
  }
  if (connection >= 0) close(connection);
  return response;
}

std::string ServiceProcess::getFrom(int port, const std::string& target, const char* from) {
  const std::string response = exchangeWith(port,
                                            "GET " + target +
                                                " HTTP/1.0\r\nUser-Agent: velmora-test\r\n"
                                                "Accept: */*\r\n\r\n",
                                            true, from);
  const size_t bodyStart = response.find("\r\n\r\n");
  return bodyStart == std::string::npos ? "<no reply>" : response.substr(bodyStart + 4);
}

}  // namespace velmora::testing
