#include "app/service_calls.h"

#include <initializer_list>

#include "app/libraries.h"
#include "app/text_from_service.h"
#include "runtime/entry_stubs.h"

namespace velmora::app {
namespace {

// The program reaches the internet library's commands through its list of libraries and the
// runtime's entry table, as it reaches every library.
runtime::ResultRecord callInternetCommand(InternetCommand which,
                                          std::initializer_list<runtime::ArgRecord> args) {
  const runtime::Command command = programLibraries[kInternetLibrary]->commands[which];
  return runtime::callCommandEntry(entryTable().callLibraryCommand, command, kInternetLibrary,
                                   {args.begin(), args.size()});
}

// A reply body as local text; the body is freed.
Text localReply(const runtime::ResultRecord& result) {
  void* body = result.value.asPointer();
  Text reply(textFromService(body));
  entryTable().free(body);
  return reply;
}

}  // namespace

Text askService(const std::string& url) {
  return localReply(callInternetCommand(kHttpReadCommand, {runtime::textArgument(url.c_str())}));
}

int32_t startServiceRequest(const std::string& url, uint32_t window, void (*ended)()) {
  return callInternetCommand(kStartHttpReadCommand,
                             {runtime::textArgument(url.c_str()),
                              runtime::valueArgument(runtime::types::kWindowRef, window),
                              runtime::subroutineArgument(ended)})
      .value.asInt();
}

Text takeServiceReply(int32_t request) {
  return localReply(
      callInternetCommand(kTakeHttpReplyCommand, {runtime::integerArgument(request)}));
}

void cancelServiceRequest(int32_t request) {
  callInternetCommand(kCancelHttpReadCommand, {runtime::integerArgument(request)});
}

}  // namespace velmora::app
