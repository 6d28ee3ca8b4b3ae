#include "app/service_calls.h"

#include <initializer_list>

#include "app/text_from_service.h"
#include "net/win32/http_read.h"
#include "net/win32/http_requests.h"
#include "runtime/entry_stubs.h"

namespace velmora::app {
namespace {

// The internet library's place in the program's list of libraries.
constexpr int32_t kInternetLibrary = 2;

ResultRecord callInternetCommand(Command command, std::initializer_list<ArgRecord> args) {
  return callCommandEntry(runtime().callLibraryCommand, command, kInternetLibrary,
                          {args.begin(), args.size()});
}

// A reply body as local text; the body is freed.
Text localReply(const ResultRecord& result) {
  void* body = result.value.asPointer();
  Text reply(textFromService(body));
  runtime().free(body);
  return reply;
}

}  // namespace

Text askService(const std::string& url) {
  return localReply(callInternetCommand(httpRead, {textArgument(url.c_str())}));
}

int32_t startServiceRequest(const std::string& url, uint32_t window, void (*ended)()) {
  return callInternetCommand(startHttpRead,
                             {textArgument(url.c_str()), valueArgument(types::kWindowRef, window),
                              subroutineArgument(ended)})
      .value.asInt();
}

Text takeServiceReply(int32_t request) {
  return localReply(callInternetCommand(takeHttpReply, {integerArgument(request)}));
}

void cancelServiceRequest(int32_t request) {
  callInternetCommand(cancelHttpRead, {integerArgument(request)});
}

}  // namespace velmora::app
