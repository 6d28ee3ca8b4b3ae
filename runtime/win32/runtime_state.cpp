// The runtime's state and the window registry it answers from.
#include "runtime/win32/runtime.h"

namespace velmora::runtime {
namespace {

EmptyWindowRegistry emptyRegistry;
WindowRegistry* registry = &emptyRegistry;

}  // namespace

RuntimeState& runtimeState() {
  static RuntimeState state;
  return state;
}

WindowRegistry& windowRegistry() {
  return *registry;
}

void setWindowRegistry(WindowRegistry* newRegistry) {
  registry = newRegistry ? newRegistry : &emptyRegistry;
}

}  // namespace velmora::runtime
