// Runtime error texts and the path every runtime error takes.
#include "runtime/runtime_error.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "runtime/runtime_error_texts.h"
#include "runtime/window_registry.h"

namespace velmora::runtime {
namespace {

using namespace error_texts;

constexpr std::array<std::string_view, 11> kCodedMessages = {
    kCode1IndexOutOfRange,     kCode2NumberExpected,     kCode3DimensionsDiffer,
    kCode4IndexBelowOne,       kCode5DataMismatch,       kCode6DllStackBroken,
    kCode7NoSubstatementValue, kCode8EqualityOnly,       kCode9ChoiceOutOfRange,
    kCode10BadArrayDimension,  kCode11ArgumentTypeWrong,
};

bool isWindowId(int32_t id) {
  return id != 0 && (static_cast<uint32_t>(id) & 0x0F000000u) == 0x02000000u;
}

bool isMenuItemId(int32_t id) {
  return (static_cast<uint32_t>(id) & 0xFF000000u) == 0x26000000u;
}

std::string quotedLine(std::string_view name) {
  std::string line = "\r\n\"";
  line += name;
  line += '"';
  return line;
}

// Where the error happened: the two numbers, then the window's and the unit's names when the
// source id is a window id.
std::string locationText(const RuntimeErrorReport& report, const WindowRegistry& registry) {
  char numbers[32];
  std::snprintf(numbers, sizeof numbers, "\r\n%d, %d", report.sourceId, report.position);
  std::string text = numbers;
  if (isWindowId(report.sourceId)) {
    const uint32_t windowId = static_cast<uint32_t>(report.sourceId);
    if (auto window = registry.windowName(windowId)) {
      text += quotedLine(*window);
      std::optional<std::string_view> unit;
      if (!isMenuItemId(report.position)) {
        unit = registry.unitName(windowId, static_cast<uint32_t>(report.position));
      }
      text += unit ? quotedLine(*unit) : std::string(kUnitNotFound);
    } else {
      text += kWindowNotFound;
    }
  }
  return text + "\r\n";
}

RuntimeErrorReporter installedReporter = nullptr;

struct ExceptionName {
  uint32_t code;
  std::string_view name;
};

// The exceptions the processor and the system raise, named as Windows' documentation names them.
constexpr ExceptionName kExceptionNames[] = {
    {0xC0000005, "EXCEPTION_ACCESS_VIOLATION"},
    {0xC000008C, "EXCEPTION_ARRAY_BOUNDS_EXCEEDED"},
    {0x80000003, "EXCEPTION_BREAKPOINT"},
    {0x80000002, "EXCEPTION_DATATYPE_MISALIGNMENT"},
    {0xC000008D, "EXCEPTION_FLT_DENORMAL_OPERAND"},
    {0xC000008E, "EXCEPTION_FLT_DIVIDE_BY_ZERO"},
    {0xC000008F, "EXCEPTION_FLT_INEXACT_RESULT"},
    {0xC0000090, "EXCEPTION_FLT_INVALID_OPERATION"},
    {0xC0000091, "EXCEPTION_FLT_OVERFLOW"},
    {0xC0000092, "EXCEPTION_FLT_STACK_CHECK"},
    {0xC0000093, "EXCEPTION_FLT_UNDERFLOW"},
    {0xC000001D, "EXCEPTION_ILLEGAL_INSTRUCTION"},
    {0xC0000006, "EXCEPTION_IN_PAGE_ERROR"},
    {0xC0000094, "EXCEPTION_INT_DIVIDE_BY_ZERO"},
    {0xC0000095, "EXCEPTION_INT_OVERFLOW"},
    {0xC0000026, "EXCEPTION_INVALID_DISPOSITION"},
    {0xC0000025, "EXCEPTION_NONCONTINUABLE_EXCEPTION"},
    {0xC0000096, "EXCEPTION_PRIV_INSTRUCTION"},
    {0x80000004, "EXCEPTION_SINGLE_STEP"},
    {0xC00000FD, "EXCEPTION_STACK_OVERFLOW"},
};

std::string hexWord(uint32_t value) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "0x%08X", static_cast<unsigned>(value));
  return digits;
}

}  // namespace

std::string_view codedErrorMessage(int32_t code) {
  if (code < 1 || code > static_cast<int32_t>(kCodedMessages.size())) return {};
  return kCodedMessages[code - 1];
}

std::string runtimeErrorText(const RuntimeErrorReport& report, const WindowRegistry& registry) {
  std::string text(kHeading);
  if (report.code != 0) {
    text += kCodeLabel;
    text += std::to_string(report.code);
    text += "\r\n";
  }
  if (!report.message.empty()) {
    text += kMessageLabel;
    text += report.message;
    text += "\r\n";
  }
  return text + locationText(report, registry);
}

std::string crashMessage(const CrashFacts& facts) {
  std::string text(kCrashException);
  text += hexWord(facts.exceptionCode);
  for (const ExceptionName& known : kExceptionNames) {
    if (known.code == facts.exceptionCode) {
      text += ' ';
      text += known.name;
    }
  }
  text += kCrashAddress;
  if (!facts.module.empty()) text += facts.module + '+';
  text += hexWord(facts.address);
  if (!facts.version.empty()) {
    text += kCrashVersion;
    text += facts.version;
  }
  return text;
}

void setRuntimeErrorReporter(RuntimeErrorReporter reporter) {
  installedReporter = reporter;
}

void raiseRuntimeError(std::string_view message, int32_t code, int32_t sourceId, int32_t position) {
  const RuntimeErrorReport report{std::string(message), code, sourceId, position};
  if (installedReporter) {
    installedReporter(report);
  } else {
    reportToPlatform(report);
  }
  std::abort();  // a reporter that returns has broken its contract
}

}  // namespace velmora::runtime
