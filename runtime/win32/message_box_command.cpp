// The message box command: any value as the content, "信息：" as the default caption, and the
// pressed button as a number from 0.
#include <windows.h>

#include "runtime/commands/arguments.h"
#include "runtime/commands/commands.h"
#include "runtime/memory.h"
#include "runtime/win32/platform_commands.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {
namespace {

constexpr UINT kSystemModal = 0x1000;
constexpr UINT kTaskModal = 0x2000;
constexpr int32_t kFindLiveUnit = 2006;

bool hasTextForm(TypeCode type) {
  switch (type) {
    case types::kByte:
    case types::kShort:
    case types::kInt:
    case types::kLong:
    case types::kFloat:
    case types::kDouble:
    case types::kText:
    case types::kLogical:
    case types::kDateTime:
      return true;
    default:
      return false;
  }
}

std::string contentText(const ArgRecord& content) {
  if (!hasTextForm(content.type)) return {};
  ResultRecord converted;
  toText(&converted, 1, &content);
  char* text = static_cast<char*>(converted.value.asPointer());
  std::string result = text ? text : "";
  freeBlock(text);
  return result;
}

HWND ownerOf(const Arguments& arguments, int32_t argCount) {
  if (argCount < 4) return nullptr;
  const ArgRecord& owner = arguments.record(4);
  if (owner.type == types::kWindowRef) {
    const auto found = windowRegistry().notify(kFindLiveUnit, owner.value.low, 0);
    const auto* unit = reinterpret_cast<const HWND*>(found.value_or(0));
    return unit ? *unit : nullptr;
  }
  if (owner.type == types::kInt)
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(owner.value.low));
  return nullptr;
}

}  // namespace

void messageBoxCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const std::wstring content = wideFromGbk(contentText(arguments.record(1)));
  // 信息：
  const std::string caption =
      argCount >= 3 && arguments.given(3) ? arguments.text(3) : "\xd0\xc5\xcf\xa2\xa3\xba";
  UINT style = static_cast<UINT>(arguments.integer(2));
  if ((style & kSystemModal) == 0) style |= kTaskModal;
  runtimeState().waitingDepth += 1;
  const int pressed = MessageBoxW(ownerOf(arguments, argCount), content.c_str(),
                                  wideFromGbk(caption).c_str(), style);
  runtimeState().waitingDepth -= 1;
  result->value.setInt(pressed >= IDOK && pressed <= IDNO ? pressed - 1 : 0);
}

}  // namespace velmora::runtime
