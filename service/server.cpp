#include "service/server.h"

#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string_view>
#include <thread>

#include "service/database.h"
#include "service/number_desk.h"
#include "service/request_answer.h"
#include "service/request_log.h"

namespace velmora::service {

namespace {

constexpr std::string_view kHost = "127.0.0.1";

sigset_t stopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

// HTTPS when the options name a certificate, HTTP otherwise.
std::unique_ptr<httplib::Server> newServer(const Options& options) {
  if (options.tlsCertificatePath.empty()) return std::make_unique<httplib::Server>();
  auto server = std::make_unique<httplib::SSLServer>(options.tlsCertificatePath.c_str(),
                                                     options.tlsKeyPath.c_str());
  if (!server->is_valid()) {
    throw std::runtime_error("cannot serve HTTPS with the certificate " +
                             options.tlsCertificatePath + " and the key " + options.tlsKeyPath);
  }
  return server;
}

bool bindLoopback(httplib::Server& server, int port, int& boundPort) {
  const std::string host(kHost);
  if (port == 0) {
    boundPort = server.bind_to_any_port(host);
    return boundPort > 0;
  }
  boundPort = port;
  return server.bind_to_port(host, port);
}

NumberTimes numberTimes(const Options& options) {
  return {std::chrono::seconds(options.smsDelaySeconds),
          std::chrono::seconds(options.numberExpirySeconds)};
}

}  // namespace

int runService(const Options& options) {
  // Every thread the server starts inherits the blocked signals; one thread waits for them.
  const sigset_t signals = stopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);

  Database database(options.databasePath);
  NumberDesk desk(database, numberTimes(options));
  RequestLog log(options.logPath);
  RequestAnswerer answerer(desk);

  const std::unique_ptr<httplib::Server> serverObject = newServer(options);
  httplib::Server& server = *serverObject;
  // The library would share the port with another listener (SO_REUSEPORT); a second service on
  // the same port must fail instead of taking half of the requests.
  server.set_socket_options([](int socket) {
    const int yes = 1;
    setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
  server.set_pre_routing_handler([&](const httplib::Request& request, httplib::Response&) {
    log.write(request.method + " " + withoutPasswords(request.target) + " " + request.version);
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.Get(".*", [&](const httplib::Request& request, httplib::Response& response) {
    Reply reply = answerer.answer(request.target);
    response.status = reply.status;
    if (reply.status == 200) response.set_content(reply.body, std::string(reply.contentType));
  });

  int port = 0;
  if (!bindLoopback(server, options.port, port)) {
    std::fprintf(stderr, "velmora-service: cannot listen on %s:%d\n", kHost.data(), options.port);
    return 1;
  }
  std::printf("listening on %s:%d\n", kHost.data(), port);
  std::fflush(stdout);

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&signals, &signal);
    server.stop();
  });
  const bool listened = server.listen_after_bind();
  pthread_kill(stopper.native_handle(), SIGTERM);  // wakes the stopper if no signal came
  stopper.join();
  return listened ? 0 : 1;
}

}  // namespace velmora::service
