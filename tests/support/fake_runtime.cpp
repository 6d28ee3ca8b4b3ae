#include "tests/support/fake_runtime.h"

namespace velmora::testing {

FakeRuntime::FakeRuntime() : table_(runtime::runtimeEntryTable) {}

}  // namespace velmora::testing
