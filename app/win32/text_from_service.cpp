// Text from service, written as the program reaches the runtime: UTF-8 to UTF-16 and UTF-16 to
// code page 936 with the kernel's functions called as DLL commands, the buffers made by the core
// library's blank commands, and everything through the runtime entry table.
#include "app/text_from_service.h"

#include <cstring>

#include "app/dll_command_table.h"
#include "app/runtime_calls.h"
#include "runtime/commands/core_commands.h"
#include "runtime/entry_stubs.h"

namespace velmora::app {
namespace {

constexpr uint32_t kUtf8CodePage = 65001;
constexpr uint32_t kGbkCodePage = 936;
// Where the program's stack checks report from: this routine and its four calls.
constexpr int32_t kSubroutineId = 0x04010016;
enum CallPosition : int32_t { kMeasureWide = 1, kConvertWide, kMeasureLocal, kConvertLocal };

int32_t byteSetLength(const void* byteSet) {
  int32_t length = 0;
  if (byteSet) std::memcpy(&length, static_cast<const uint8_t*>(byteSet) + 4, sizeof length);
  return length;
}

// The address a DLL function gets for a byte set: its data, or 0 for the empty byte set.
uint32_t dataAddress(const void* byteSet) {
  return byteSet ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(byteSet) + 8) : 0;
}

uint32_t address(const void* pointer) {
  return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer));
}

void* callBlankCommand(int command, int32_t count) {
  return app::callCoreCommand(command, {runtime::integerArgument(count)}).value.asPointer();
}

// A copy of text up to its first zero byte; null when that is empty.
char* copyOfText(const char* text) {
  const size_t length = text ? std::strlen(text) : 0;
  if (length == 0) return nullptr;
  auto* copy = static_cast<char*>(app::entryTable().allocate(static_cast<int32_t>(length + 1)));
  std::memcpy(copy, text, length + 1);
  return copy;
}

}  // namespace

char* textFromService(const void* replyBody) {
  const runtime::EntryTable& entries = app::entryTable();
  const auto count = static_cast<uint32_t>(byteSetLength(replyBody));
  if (count == 0) return nullptr;
  const uint32_t body = dataAddress(replyBody);
  using namespace dll_command;

  const uint32_t wideCount =
      runtime::callDllCommand(entries, kMultiByteToWideChar,
                              {{kUtf8CodePage, 0, body, count, 0, 0}}, kSubroutineId, kMeasureWide);
  // Room for the units and one terminating zero unit.
  void* wide = callBlankCommand(runtime::core_command::kBlankByteSet,
                                static_cast<int32_t>(wideCount * 2 + 2));
  runtime::callDllCommand(entries, kMultiByteToWideChar,
                          {{kUtf8CodePage, 0, body, count, dataAddress(wide), wideCount}},
                          kSubroutineId, kConvertWide);

  // With the terminating unit counted, the local length counts the terminating zero byte too.
  const auto units = static_cast<uint32_t>(byteSetLength(wide) / 2);
  const uint32_t localCount = runtime::callDllCommand(
      entries, kWideCharToMultiByte, {{kGbkCodePage, 0, dataAddress(wide), units, 0, 0, 0, 0}},
      kSubroutineId, kMeasureLocal);
  auto* local = static_cast<char*>(
      callBlankCommand(runtime::core_command::kBlankText, static_cast<int32_t>(localCount)));
  runtime::callDllCommand(
      entries, kWideCharToMultiByte,
      {{kGbkCodePage, 0, dataAddress(wide), units, address(local), localCount, 0, 0}},
      kSubroutineId, kConvertLocal);

  char* text = copyOfText(local);
  entries.free(local);
  entries.free(wide);
  return text;
}

}  // namespace velmora::app
