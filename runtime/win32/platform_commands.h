// The core commands that the runtime's Windows side serves itself: the message box and the
// clipboard. installPlatformCommands puts them into the core library's command table.
#pragma once

#include <windows.h>

#include "runtime/tagged_value.h"

namespace velmora::runtime {

void messageBoxCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args);
void setClipboardTextCommand(ResultRecord* result, int32_t argCount, const ArgRecord* args);

// Where the clipboard's blocks come from: the global heap; tests make it refuse.
using ClipboardAllocator = HGLOBAL(WINAPI*)(UINT flags, SIZE_T size);
ClipboardAllocator& clipboardAllocator();
// How a block goes to the clipboard: SetClipboardData; tests make it refuse.
using ClipboardSetter = HANDLE(WINAPI*)(UINT format, HANDLE block);
ClipboardSetter& clipboardSetter();

void installPlatformCommands();

}  // namespace velmora::runtime
