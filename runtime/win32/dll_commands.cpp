// Binding DLL commands: the library named by the program data, looked for in the system
// directory first, and the exported function by name or by "#ordinal".
#include "runtime/win32/dll_commands.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "runtime/runtime_error.h"
#include "runtime/runtime_error_texts.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/system_library.h"
#include "runtime/win32/wide_text.h"

namespace velmora::runtime {
namespace {

struct DllCommand {
  std::string fileName;
  std::string commandName;
  FARPROC address = nullptr;
  HMODULE module = nullptr;
};

std::vector<DllCommand> dllCommands;

// Where a command without a library file name is looked for, in this order.
constexpr const wchar_t* kFallbackLibraries[] = {
    L"Kernel32.dll", L"Gdi32.dll", L"User32.dll", L"Advapi32.dll", L"Mpr.dll", L"Shell32.dll",
};

FARPROC findExport(HMODULE module, const std::string& commandName) {
  if (!commandName.empty() && commandName[0] == '#') {
    const auto ordinal = static_cast<WORD>(std::strtoul(commandName.c_str() + 1, nullptr, 10));
    return GetProcAddress(module, MAKEINTRESOURCEA(ordinal));
  }
  return GetProcAddress(module, commandName.c_str());
}

std::wstring directoryOf(HMODULE module) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  const std::wstring fullPath(path, length);
  const size_t slash = fullPath.rfind(L'\\');
  return slash == std::wstring::npos ? L"" : fullPath.substr(0, slash);
}

// The module that holds the runtime: the program itself when the runtime is linked into it.
HMODULE runtimeModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&dllCommands), &module);
  return module;
}

// A file name without a colon: the system directory first, so that a stray file of a system
// library's name beside the program is never taken for it; then the program's directory, the
// runtime's directory and the system's own library search, which also supplies a missing ".dll".
HMODULE loadNamedLibrary(const std::wstring& fileName) {
  if (HMODULE module = loadSystemLibrary(fileName.c_str())) return module;
  const std::wstring candidates[] = {
      runtimeState().programDirectory + L"\\" + fileName,
      directoryOf(runtimeModule()) + L"\\" + fileName,
      fileName,
  };
  for (const std::wstring& candidate : candidates) {
    if (HMODULE module = LoadLibraryW(candidate.c_str())) return module;
  }
  return nullptr;
}

// Binds the command to its export in a loaded module, which it then keeps; a module without the
// export is released.
bool bindIn(HMODULE module, DllCommand& command) {
  if (module == nullptr) return false;
  if (FARPROC address = findExport(module, command.commandName)) {
    command.address = address;
    command.module = module;
    return true;
  }
  FreeLibrary(module);
  return false;
}

// The first fallback library that exports the command.
bool bindFromFallbackLibraries(DllCommand& command) {
  for (const wchar_t* library : kFallbackLibraries) {
    if (bindIn(LoadLibraryW(library), command)) return true;
  }
  return false;
}

bool bindFromNamedLibrary(DllCommand& command) {
  const std::wstring fileName = wideFromGbk(command.fileName);
  return bindIn(fileName.find(L':') != std::wstring::npos ? LoadLibraryW(fileName.c_str())
                                                          : loadNamedLibrary(fileName),
                command);
}

[[noreturn]] void commandNotFound(const DllCommand& command) {
  using namespace error_texts;
  const std::string message = command.fileName.empty()
                                  ? kDllCommandNotFound + command.commandName + kDllNameAfter
                                  : kDllLibraryBefore + command.fileName + kDllCommandInLibrary +
                                        command.commandName + kDllNameAfter;
  raiseRuntimeError(message, 0, 0, 0);
}

std::string textOrEmpty(const char* text) {
  return text ? text : "";
}

}  // namespace

void copyDllCommandTable(const ProgramHeader& header) {
  dllCommands.clear();
  for (uint32_t i = 0; i < header.dllCommandCount; ++i) {
    dllCommands.push_back(
        {textOrEmpty(header.dllFileNames[i]), textOrEmpty(header.dllCommandNames[i])});
  }
}

void releaseDllCommands() {
  for (const DllCommand& command : dllCommands) {
    if (command.module) FreeLibrary(command.module);
  }
  dllCommands.clear();
}

bool dllCommandBound(int32_t index) {
  return index >= 0 && static_cast<size_t>(index) < dllCommands.size() &&
         dllCommands[static_cast<size_t>(index)].address != nullptr;
}

}  // namespace velmora::runtime

extern "C" void* velmora_bind_dll_command(int32_t index) {
  using namespace velmora::runtime;
  // An index the table does not hold names no command: reported like a command not found.
  if (index < 0 || static_cast<size_t>(index) >= dllCommands.size()) {
    commandNotFound(DllCommand{"", "#" + std::to_string(index)});
  }
  DllCommand& command = dllCommands[static_cast<size_t>(index)];
  if (command.address) return reinterpret_cast<void*>(command.address);
  const bool bound =
      command.fileName.empty() ? bindFromFallbackLibraries(command) : bindFromNamedLibrary(command);
  if (!bound) commandNotFound(command);
  return reinterpret_cast<void*>(command.address);
}
