#include "service/http_daemon.h"

#include <microhttpd.h>
#include <sys/socket.h>

#include <array>
#include <chrono>
#include <cstring>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "service/head_deadlines.h"

namespace velmora::service {

struct HttpDaemon::Calls {
  RequestServing& serving;
  HeadDeadlines heads{std::chrono::seconds(kHeadTimeoutSeconds)};
};

namespace {

// Version 1.2 and 1.3 with the library's usual suites, but keys agreed by ECDHE alone (no static
// RSA, no finite-field groups), so that a recorded session stays closed to whoever later gets the
// service's key. The ECDHE-RSA AES-GCM and AES-CBC suites on the curves P-256 and P-384 that
// Windows 7 offers are among them.
constexpr const char* kTlsPriorities =
    "NORMAL:-VERS-ALL:+VERS-TLS1.3:+VERS-TLS1.2:-KX-ALL:+ECDHE-ECDSA:+ECDHE-RSA:-GROUP-ALL:"
    "+GROUP-EC-ALL";

// The library calls this with the request target as it came, before it splits off and decodes
// the query; what it returns comes back to the request's handler, and the request's end frees it.
// Nothing when there is no memory for it: its handler then closes the connection.
void* keepTarget(void*, const char* target, MHD_Connection*) {
  try {
    return new std::string(target);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void forgetTarget(void*, MHD_Connection*, void** target, MHD_RequestTerminationCode) {
  delete static_cast<std::string*>(*target);
  *target = nullptr;
}

MHD_Result queueReply(MHD_Connection* connection, const Reply& reply) {
  MHD_Response* response = MHD_create_response_from_buffer(
      reply.body.size(), const_cast<char*>(reply.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  if (reply.status == MHD_HTTP_OK) {
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE,
                            std::string(reply.contentType).c_str());
  }
  if (reply.status == MHD_HTTP_METHOD_NOT_ALLOWED) {
    MHD_add_response_header(response, MHD_HTTP_HEADER_ALLOW, "GET, HEAD");
  }
  const MHD_Result queued = MHD_queue_response(connection, reply.status, response);
  MHD_destroy_response(response);
  return queued;
}

MHD_Result addHeaderLineBytes(void* total, MHD_ValueKind, const char* name, const char* value) {
  // As sent: "name: value" and its line end.
  *static_cast<size_t*>(total) += std::strlen(name) + std::strlen(value) + 4;
  return MHD_YES;
}

size_t headerLineBytes(MHD_Connection* connection) {
  size_t total = 0;
  MHD_get_connection_values(connection, MHD_HEADER_KIND, &addHeaderLineBytes, &total);
  return total;
}

// The status that refuses a request the service does not read: any method but GET and HEAD
// (whose body would follow), a target or header lines over their bounds.
std::optional<int> refusal(MHD_Connection* connection, std::string_view method,
                           const std::string& target) {
  if (method != MHD_HTTP_METHOD_GET && method != MHD_HTTP_METHOD_HEAD) {
    return MHD_HTTP_METHOD_NOT_ALLOWED;
  }
  if (target.size() > kMaxTargetBytes) return MHD_HTTP_URI_TOO_LONG;
  if (headerLineBytes(connection) > kMaxHeaderBytes) {
    return MHD_HTTP_REQUEST_HEADER_FIELDS_TOO_LARGE;
  }
  return std::nullopt;
}

int socketOf(MHD_Connection* connection) {
  return MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD)->connect_fd;
}

// The library tells of each connection as it opens and as it closes, before it closes its socket.
// A connection that cannot be watched is not served.
void watchHead(void* headsPointer, MHD_Connection* connection, void**,
               MHD_ConnectionNotificationCode notice) {
  HeadDeadlines& heads = *static_cast<HeadDeadlines*>(headsPointer);
  const int socket = socketOf(connection);
  if (notice == MHD_CONNECTION_NOTIFY_CLOSED) {
    heads.settled(socket);
    return;
  }
  try {
    heads.opened(socket);
  } catch (const std::bad_alloc&) {
    shutdown(socket, SHUT_RDWR);
  }
}

// Called once a request's line and headers are in. The reply is queued at once, so a body is
// never read: the library then closes the connection after the reply.
MHD_Result answerRequest(void* callsPointer, MHD_Connection* connection, const char*,
                         const char* method, const char* version, const char*, size_t*,
                         void** targetPointer) {
  HttpDaemon::Calls& calls = *static_cast<HttpDaemon::Calls*>(callsPointer);
  calls.heads.settled(socketOf(connection));
  const auto* target = static_cast<const std::string*>(*targetPointer);
  if (target == nullptr) return MHD_NO;
  RequestServing& serving = calls.serving;
  try {
    serving.log.write(std::string(method) + " " + withoutPasswords(*target) + " " + version);
    if (const std::optional<int> status = refusal(connection, method, *target)) {
      return queueReply(connection, Reply{*status, {}, {}});
    }
    return queueReply(connection, serving.answerer.answer(*target));
  } catch (...) {
    return MHD_NO;  // closes the connection
  }
}

// The options of HTTPS with these credentials; none (the end mark alone) for plain HTTP.
using TlsOptions = std::array<MHD_OptionItem, 4>;

TlsOptions optionsServing(const TlsCredentials& tls) {
  return {{{MHD_OPTION_HTTPS_MEM_CERT, 0, const_cast<char*>(tls.certificateChain.c_str())},
           {MHD_OPTION_HTTPS_MEM_KEY, 0, const_cast<char*>(tls.privateKey.c_str())},
           {MHD_OPTION_HTTPS_PRIORITIES, 0, const_cast<char*>(kTlsPriorities)},
           {MHD_OPTION_END, 0, nullptr}}};
}

}  // namespace

HttpDaemon::HttpDaemon(int listeningSocket, const std::optional<TlsCredentials>& tls,
                       unsigned connectionsPerAddress, RequestServing& serving)
    : calls_(std::make_unique<Calls>(serving)) {
  const TlsOptions tlsOptions = tls ? optionsServing(*tls) : TlsOptions{};
  daemon_ = MHD_start_daemon(MHD_USE_AUTO_INTERNAL_THREAD | (tls ? MHD_USE_TLS : 0), 0, nullptr,
                             nullptr, &answerRequest, calls_.get(),                       //
                             MHD_OPTION_LISTEN_SOCKET, listeningSocket,                   //
                             MHD_OPTION_CONNECTION_MEMORY_LIMIT, kConnectionMemoryBytes,  //
                             MHD_OPTION_CONNECTION_LIMIT, kConnectionLimit,               //
                             MHD_OPTION_PER_IP_CONNECTION_LIMIT, connectionsPerAddress,   //
                             MHD_OPTION_CONNECTION_TIMEOUT, kIdleTimeoutSeconds,          //
                             MHD_OPTION_THREAD_POOL_SIZE, kNetworkThreads,                //
                             MHD_OPTION_NOTIFY_CONNECTION, &watchHead, &calls_->heads,    //
                             MHD_OPTION_URI_LOG_CALLBACK, &keepTarget, nullptr,           //
                             MHD_OPTION_NOTIFY_COMPLETED, &forgetTarget, nullptr,         //
                             MHD_OPTION_ARRAY, tlsOptions.data(), MHD_OPTION_END);
  if (daemon_ == nullptr) throw std::runtime_error("cannot start the HTTP server");
}

HttpDaemon::~HttpDaemon() {
  MHD_stop_daemon(daemon_);
}

}  // namespace velmora::service
