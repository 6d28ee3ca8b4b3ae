// Runtime errors: conditions the runtime cannot continue from. Each ends the process through one
// report (a message box on Windows) and exit code -1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::runtime {

class WindowRegistry;

struct RuntimeErrorReport {
  std::string message;  // GBK text; empty for none
  int32_t code = 0;
  int32_t sourceId = 0;
  int32_t position = 0;
};

// The fixed message of error codes 1 to 11; empty for every other code.
std::string_view codedErrorMessage(int32_t code);

// The text the report shows. When the source id is a window id, the window's and the unit's
// names come from the registry.
std::string runtimeErrorText(const RuntimeErrorReport& report, const WindowRegistry& registry);

// What a crash report tells: the exception the processor raised, where, and in which version of
// the program, so that the address can be turned into a source line with the matching debug file.
struct CrashFacts {
  uint32_t exceptionCode = 0;
  std::string module;    // GBK file name of the module the address lies in; empty for none
  uint32_t address = 0;  // relative to that module's image base; absolute without a module
  std::string version;   // "1.2.3"; empty when the program has no version resource
};

// The message of the runtime error a crash ends in.
std::string crashMessage(const CrashFacts& facts);

// Hands the error to the installed reporter, which ends the process.
[[noreturn]] void raiseRuntimeError(std::string_view message, int32_t code, int32_t sourceId,
                                    int32_t position);

// A reporter never returns: it ends the process (or, in tests, leaves by an exception).
using RuntimeErrorReporter = void (*)(const RuntimeErrorReport& report);
// Installs a reporter; null restores the platform's own.
void setRuntimeErrorReporter(RuntimeErrorReporter reporter);
// The platform's own reporter.
void reportToPlatform(const RuntimeErrorReport& report);

}  // namespace velmora::runtime
