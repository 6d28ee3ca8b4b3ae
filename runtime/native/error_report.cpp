// Hosts other than Windows (tools, native tests) report a runtime error on standard error.
#include <cstdio>
#include <cstdlib>

#include "runtime/runtime_error.h"
#include "runtime/window_registry.h"

namespace velmora::runtime {

void reportToPlatform(const RuntimeErrorReport& report) {
  const std::string text = runtimeErrorText(report, EmptyWindowRegistry{});
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::_Exit(-1);
}

}  // namespace velmora::runtime
