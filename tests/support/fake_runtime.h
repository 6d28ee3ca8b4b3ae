// A stand-in for the runtime entry table, so that the program's code runs in tests without the
// window system: commands run for real through the runtime's command slots, memory comes from a
// TestHeap, and runtime errors leave by RaisedRuntimeError.
#pragma once

#include "runtime/entry_table.h"
#include "tests/support/test_heap.h"

namespace velmora::testing {

class FakeRuntime {
 public:
  FakeRuntime();
  FakeRuntime(const FakeRuntime&) = delete;
  FakeRuntime& operator=(const FakeRuntime&) = delete;

  const runtime::EntryTable& table() const { return table_; }

  TestHeap heap;

 private:
  runtime::EntryTable table_;
};

}  // namespace velmora::testing
