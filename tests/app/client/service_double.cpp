// On the host there is no network or code-page kernel: the internet library's commands answer
// from the client fake's script, and text from service turns the UTF-8 body into GBK with iconv.
// Both keep the runtime's ownership rules: a new byte set, a new text, null for empty. The
// program finds the commands in its list of libraries, which here holds only this library.
#include <cstring>

#include "app/libraries.h"
#include "app/runtime_calls.h"
#include "app/text_from_service.h"
#include "runtime/value_blocks.h"
#include "tests/app/client/client_fake.h"
#include "tests/support/gbk.h"

namespace velmora::app {
namespace {

void httpRead(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  const std::string body = testing::ClientFake::current().answer(args[0].value.asText());
  if (!body.empty()) {
    result->value.setPointer(
        runtime::byteSetFromBytes(body.data(), static_cast<int32_t>(body.size())));
  }
}

void startHttpRead(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  const auto ended = reinterpret_cast<void (*)()>(args[2].value.asPointer());
  result->value.setInt(testing::ClientFake::current().startRequest(args[0].value.asText(), ended));
}

void takeHttpReply(runtime::ResultRecord* result, int32_t, const runtime::ArgRecord* args) {
  const std::string body = testing::ClientFake::current().takeReply(args[0].value.asInt());
  if (!body.empty()) {
    result->value.setPointer(
        runtime::byteSetFromBytes(body.data(), static_cast<int32_t>(body.size())));
  }
}

void cancelHttpRead(runtime::ResultRecord*, int32_t, const runtime::ArgRecord* args) {
  testing::ClientFake::current().cancelRequest(args[0].value.asInt());
}

const runtime::Command internetCommands[kInternetCommandCount] = {httpRead, startHttpRead,
                                                                  takeHttpReply, cancelHttpRead};
const runtime::LibraryDescriptor internetLibrary = {
    .magic = runtime::kLibraryMagic,
    .commandCount = kInternetCommandCount,
    .commands = internetCommands,
};

}  // namespace

const runtime::LibraryDescriptor* const programLibraries[kProgramLibraryCount] = {
    nullptr, nullptr, &internetLibrary, nullptr, nullptr};

char* textFromService(const void* replyBody) {
  const int32_t length = runtime::byteSetLength(replyBody);
  if (length == 0) return nullptr;
  const auto* bytes = runtime::byteSetData(replyBody);
  std::u8string utf8(reinterpret_cast<const char8_t*>(bytes), static_cast<size_t>(length));
  utf8.resize(std::char_traits<char8_t>::length(utf8.c_str()));  // a zero byte ends the text
  const std::string local = testing::gbk(utf8);
  return app::makeText(local).release();
}

}  // namespace velmora::app
