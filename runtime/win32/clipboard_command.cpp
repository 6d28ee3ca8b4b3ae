// Set clipboard text: the text in both the Unicode and the plain-text format, the plain text in
// the system's ANSI code page, as programs that read it expect. The clipboard is emptied only once
// the blocks exist, so a failed copy leaves what the user had there, and the command answers true
// only when the clipboard took both.
#include <windows.h>

#include <cstring>
#include <string>

#include "runtime/commands/arguments.h"
#include "runtime/win32/platform_commands.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {
namespace {

HGLOBAL globalCopy(const void* bytes, size_t size) {
  HGLOBAL block = clipboardAllocator()(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (block == nullptr) return nullptr;
  if (void* target = GlobalLock(block)) {
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    return block;
  }
  GlobalFree(block);
  return nullptr;
}

ClipboardAllocator allocator = GlobalAlloc;
ClipboardSetter setter = SetClipboardData;

// Hands a block to the clipboard, which then owns it; a block it refuses is freed here.
bool handOver(UINT format, HGLOBAL block) {
  if (setter(format, block) != nullptr) return true;
  GlobalFree(block);
  return false;
}

// Clipboard history, remote desktop and password managers open the clipboard after every change,
// for a moment: a copy that follows another waits for them, this long at most.
constexpr ULONGLONG kClipboardWait = 500;
constexpr DWORD kClipboardRetryPause = 10;

bool openClipboardWhenFree(HWND owner) {
  const ULONGLONG deadline = GetTickCount64() + kClipboardWait;
  while (!OpenClipboard(owner)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kClipboardRetryPause);
  }
  return true;
}

}  // namespace

ClipboardAllocator& clipboardAllocator() {
  return allocator;
}

ClipboardSetter& clipboardSetter() {
  return setter;
}

void setClipboardTextCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const char* text = arguments.text(1);
  result->value.setLogical(false);
  const std::wstring wide = wideFromGbk(text);
  const std::string ansi = ansiFromWide(wide);
  if (!openClipboardWhenFree(runtimeState().hiddenOwner)) return;
  HGLOBAL plain = globalCopy(ansi.c_str(), ansi.size() + 1);
  HGLOBAL unicode = globalCopy(wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  if (plain && unicode) {
    EmptyClipboard();
    const bool unicodeTaken = handOver(CF_UNICODETEXT, unicode);
    const bool plainTaken = handOver(CF_TEXT, plain);
    result->value.setLogical(unicodeTaken && plainTaken);
  } else {
    if (plain) GlobalFree(plain);
    if (unicode) GlobalFree(unicode);
  }
  CloseClipboard();
}

}  // namespace velmora::runtime
