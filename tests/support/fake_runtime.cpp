#include "tests/support/fake_runtime.h"

namespace velmora::testing {

FakeRuntime::FakeRuntime() : table_(runtimeEntryTable) {}

}  // namespace velmora::testing
