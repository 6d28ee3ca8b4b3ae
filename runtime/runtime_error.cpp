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
