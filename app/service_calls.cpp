#include "app/service_calls.h"

#include "app/text_from_service.h"
#include "net/http_read.h"
#include "runtime/entry_stubs.h"

namespace velmora::app {
namespace {

// The internet library's place in the program's list of libraries.
constexpr int32_t kInternetLibrary = 2;

}  // namespace

Text askService(const std::string& url) {
  const ArgRecord argument = textArgument(url.c_str());
  const ResultRecord result =
      callCommandEntry(runtime().callLibraryCommand, httpRead, kInternetLibrary, {&argument, 1});
  void* body = result.value.asPointer();
  Text reply(textFromService(body));
  runtime().free(body);
  return reply;
}

}  // namespace velmora::app
