// Runtime error texts and the path every runtime error takes.
#include "runtime/runtime_error.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "runtime/window_registry.h"

namespace velmora {
namespace {

// GBK texts; tools/gbk-literal writes them.
constexpr std::array<std::string_view, 11> kCodedMessages = {
    // 数组成员引用下标超出定义范围
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb3\xac\xb3\xf6\xb6\xa8\xd2"
    "\xe5"
    "\xb7\xb6\xce\xa7",
    // 未得到所需要的数值型数据
    "\xce\xb4\xb5\xc3\xb5\xbd\xcb\xf9\xd0\xe8\xd2\xaa\xb5\xc4\xca\xfd\xd6\xb5\xd0\xcd\xca\xfd\xbe"
    "\xdd",
    // 引用数组成员时维数不为1且不等于该数组目前所具有的维数
    "\xd2\xfd\xd3\xc3\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xca\xb1\xce\xac\xca\xfd\xb2\xbb\xce\xaa"
    "1\xc7\xd2\xb2\xbb\xb5\xc8\xd3\xda\xb8\xc3\xca\xfd\xd7\xe9\xc4\xbf\xc7\xb0\xcb\xf9\xbe\xdf\xd3"
    "\xd0"
    "\xb5\xc4\xce\xac\xca\xfd",
    // 数组成员引用下标必须大于等于1
    "\xca\xfd\xd7\xe9\xb3\xc9\xd4\xb1\xd2\xfd\xd3\xc3\xcf\xc2\xb1\xea\xb1\xd8\xd0\xeb\xb4\xf3\xd3"
    "\xda"
    "\xb5\xc8\xd3\xda"
    "1",
    // 数据或数组类型不匹配
    "\xca\xfd\xbe\xdd\xbb\xf2\xca\xfd\xd7\xe9\xc0\xe0\xd0\xcd\xb2\xbb\xc6\xa5\xc5\xe4",
    // 调用DLL命令后发现堆栈错误
    "\xb5\xf7\xd3\xc3"
    "DLL\xc3\xfc\xc1\xee\xba\xf3\xb7\xa2\xcf\xd6\xb6\xd1\xd5\xbb\xb4\xed\xce\xf3",
    // 子语句参数未返回数据或者返回了非系统基本类型或数组型数据
    "\xd7\xd3\xd3\xef\xbe\xe4\xb2\xce\xca\xfd\xce\xb4\xb7\xb5\xbb\xd8\xca\xfd\xbe\xdd\xbb\xf2\xd5"
    "\xdf"
    "\xb7\xb5\xbb\xd8\xc1\xcb\xb7\xc7\xcf\xb5\xcd\xb3\xbb\xf9\xb1\xbe\xc0\xe0\xd0\xcd\xbb\xf2\xca"
    "\xfd"
    "\xd7\xe9\xd0\xcd\xca\xfd\xbe\xdd",
    // 被比较数据只能使用等于或不等于命令比较
    "\xb1\xbb\xb1\xc8\xbd\xcf\xca\xfd\xbe\xdd\xd6\xbb\xc4\xdc\xca\xb9\xd3\xc3\xb5\xc8\xd3\xda\xbb"
    "\xf2"
    "\xb2\xbb\xb5\xc8\xd3\xda\xc3\xfc\xc1\xee\xb1\xc8\xbd\xcf",
    // “多项选择”命令的索引值参数小于零或超出了所提供参数表范围
    "\xa1\xb0\xb6\xe0\xcf\xee\xd1\xa1\xd4\xf1\xa1\xb1\xc3\xfc\xc1\xee\xb5\xc4\xcb\xf7\xd2\xfd\xd6"
    "\xb5"
    "\xb2\xce\xca\xfd\xd0\xa1\xd3\xda\xc1\xe3\xbb\xf2\xb3\xac\xb3\xf6\xc1\xcb\xcb\xf9\xcc\xe1\xb9"
    "\xa9"
    "\xb2\xce\xca\xfd\xb1\xed\xb7\xb6\xce\xa7",
    // “重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零
    "\xa1\xb0\xd6\xd8\xb6\xa8\xd2\xe5\xca\xfd\xd7\xe9\xa1\xb1\xc3\xfc\xc1\xee\xb5\xc4\xca\xfd\xd7"
    "\xe9"
    "\xce\xac\xb6\xa8\xd2\xe5\xb2\xce\xca\xfd\xd6\xb5\xb1\xd8\xd0\xeb\xb4\xf3\xd3\xda\xc1\xe3\xbb"
    "\xf2"
    "\xb5\xa5\xce\xac\xca\xb1\xb4\xf3\xd3\xda\xb5\xc8\xd3\xda\xc1\xe3",
    // 所提供参数的数据类型不符合要求
    "\xcb\xf9\xcc\xe1\xb9\xa9\xb2\xce\xca\xfd\xb5\xc4\xca\xfd\xbe\xdd\xc0\xe0\xd0\xcd\xb2\xbb\xb7"
    "\xfb"
    "\xba\xcf\xd2\xaa\xc7\xf3",
};

constexpr std::string_view kHeading =
    "\xd4\xcb\xd0\xd0\xca\xb1\xb3\xf6\xb4\xed!\r\n";  // 运行时出错!
constexpr std::string_view kCodeLabel =
    "\r\n\xb4\xed\xce\xf3\xb4\xfa\xc2\xeb\xa3\xba";  // 错误代码：
constexpr std::string_view kMessageLabel =
    "\r\n\xb4\xed\xce\xf3\xd0\xc5\xcf\xa2\xa3\xba";  // 错误信息：
constexpr std::string_view kWindowNotFound =         // 未找到所指定的窗口
    "\r\n\xce\xb4\xd5\xd2\xb5\xbd\xcb\xf9\xd6\xb8\xb6\xa8\xb5\xc4\xb4\xb0\xbf\xda";
constexpr std::string_view kUnitNotFound =  // 未找到所指定的窗口组件
    "\r\n\xce\xb4\xd5\xd2\xb5\xbd\xcb\xf9\xd6\xb8\xb6\xa8\xb5\xc4\xb4\xb0\xbf\xda\xd7\xe9\xbc\xfe";

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

}  // namespace velmora
