// Runtime initialisation (service 6) and the runtime services of slot 12.
#include <ole2.h>
#include <windows.h>

#include "runtime/commands/core_commands.h"
#include "runtime/commands/installed_commands.h"
#include "runtime/entry_table.h"
#include "runtime/memory.h"
#include "runtime/win32/dll_commands.h"
#include "runtime/win32/platform_commands.h"
#include "runtime/win32/runtime.h"

namespace velmora::runtime {
namespace {

constexpr wchar_t kHiddenOwnerClass[] = L"_QV_HideOwner";

void takeProgramPath(RuntimeState& state) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.rfind(L'\\');
  state.programDirectory = slash == std::wstring::npos ? L"" : path.substr(0, slash);
  state.programFileName = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (!state.programDirectory.empty()) SetCurrentDirectoryW(state.programDirectory.c_str());
}

HWND createHiddenOwner() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  if (!GetClassInfoW(instance, kHiddenOwnerClass, &windowClass)) {
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.lpszClassName = kHiddenOwnerClass;
    RegisterClassW(&windowClass);
  }
  return CreateWindowExW(WS_EX_TOOLWINDOW, kHiddenOwnerClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr);
}

void startLibraries(const ProgramHeader& header, RuntimeState& state) {
  for (uint32_t i = 0; i < header.libraryCount; ++i) {
    const LibraryDescriptor* library = header.libraries[i];
    if (library->notify) {
      library->notify(kLibraryNotifyStart, reinterpret_cast<uintptr_t>(&runtimeNotify), 0);
    }
    state.libraries.push_back(library);
  }
}

}  // namespace

void initialiseRuntime(const ProgramHeader& header) {
  RuntimeState& state = runtimeState();
  if (state.initialised) return;
  state.initialised = true;
  useHeap(processHeap());
  state.runMode = header.runMode;
  state.version = header.version;
  state.buildNumber = header.buildNumber + 1;
  setConstantRegion(header.constants, header.constantsLength);
  state.oleInitialised = SUCCEEDED(OleInitialize(nullptr));
  takeProgramPath(state);
  state.hiddenOwner = createHiddenOwner();
  state.mainThreadId = GetCurrentThreadId();
  copyDllCommandTable(header);
  installPlatformCommands();
  startLibraries(header, state);
  windowRegistry().loadWindowData(header.windowData, header.windowDataLength, header.codeBase);
}

void installPlatformCommands() {
  installCoreCommand(core_command::kMessageBox, messageBoxCommand);
  installCoreCommand(core_command::kSetClipboardText, setClipboardTextCommand);
}

}  // namespace velmora::runtime

// Slot 12, reached through the register thunk: the service number and a pointer to the service's
// arguments on the caller's stack.
extern "C" uintptr_t velmora_runtime_service(int32_t service, const uintptr_t* arguments) {
  using namespace velmora::runtime;
  switch (service) {
    case kServiceRegisterExitRoutine:
      registerExitRoutine(reinterpret_cast<void (*)()>(arguments[0]));
      return 0;
    case kServiceInitialiseRuntime:
      initialiseRuntime(programHeader);
      return 0;
    default:
      return 0;
  }
}
