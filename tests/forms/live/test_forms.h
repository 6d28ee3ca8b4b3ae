// A small form world for the form runtime's tests: a core library whose window type is the form
// runtime's own and whose label and combo box types are simple test types on the system's STATIC
// and COMBOBOX controls, windows built with the program data writers, and a table of
// handlers that record their calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "forms/live/win32/form_registry.h"

namespace velmora::testing {

inline constexpr uint32_t kMainWindow = 0x52000001;
inline constexpr uint32_t kMainWindowUnit = 0x06000001;
inline constexpr uint32_t kUpperLabel = 0x16000011;  // stored first: lies on top
inline constexpr uint32_t kLowerLabel = 0x16000012;
inline constexpr uint32_t kComboBox = 0x16000013;

inline constexpr uint32_t kSecondWindow = 0x52000002;
inline constexpr uint32_t kSecondWindowUnit = 0x06000002;

inline constexpr uint32_t kStoredWindow = 0x52000003;  // never loaded by the tests
inline constexpr uint32_t kStoredEditBox = 0x16000031;
inline constexpr int32_t kStoredEditBoxWidth = 77;
inline constexpr uint32_t kServingLabel = 0x16000032;  // its handlers serve the linked label
inline constexpr uint32_t kLinkedLabel = 0x16000033;
inline constexpr uint32_t kUntypedUnit = 0x16000034;  // of a type no library has

inline constexpr uint32_t kBrokenWindow = 0x52000004;  // holds a unit of a type with no interface

// A combo box inside a label that serves as its container, stored after it; both raise the
// got-focus event.
inline constexpr uint32_t kFocusWindow = 0x52000005;
inline constexpr uint32_t kContainedComboBox = 0x16000051;
inline constexpr uint32_t kContainerLabel = 0x16000052;

// The stored captions.
inline constexpr char kMainCaption[] = "Main";
inline constexpr char kUpperCaption[] = "upper";

// Handlers of the test windows; each records its call and runs the test's action, if any.
enum class Handler {
  mainCreated,         // main window created
  mainCloseQuery,      // main window close query
  secondCreated,       // second window created
  labelEvent,          // the labels' kLabelEvent
  withArguments,       // the labels' kLabelEventWithArguments: two words, answers their sum
  focusWindowCreated,  // focus window created
  gotFocus,            // the focus window's units' got-focus event
  count
};

struct HandlerCalls {
  int count[static_cast<int>(Handler::count)] = {};
  std::function<void()> action[static_cast<int>(Handler::count)];
  // What the close query handler answers: kNoAnswer or a logical.
  uint64_t closeQueryAnswer = 0x8000000000000000ull;
  std::vector<uint32_t> arguments;         // what the handler with arguments received
  std::vector<uint32_t> source;            // the event source it or the focus handler saw
  std::vector<uint32_t> deactivatedUnits;  // the test units told their window is inactive
};
HandlerCalls& handlerCalls();

// The test program's core library: its notify installs the form runtime, its unit types are
// the window type and the test types.
const runtime::LibraryDescriptor& testLibrary();
const std::vector<uint8_t>& testWindowData();
// The table of the test handlers' entry points.
const void* testCodeBase();

// Sets up the registry from the test window data, with the test library as the runtime's only
// library; tears it all down again.
class TestForms {
 public:
  TestForms();
  ~TestForms();
  TestForms(const TestForms&) = delete;
  TestForms& operator=(const TestForms&) = delete;

  forms::FormRegistry& registry() { return forms::formRegistry(); }
  HWND windowHandle(uint32_t windowId);
  HWND unitHandle(uint32_t windowId, uint32_t unitId);
};

// The test label type's events: one it raises on kRaiseLabelEvent, and one with arguments that
// only the tests raise.
inline constexpr int32_t kLabelEvent = 0;
inline constexpr int32_t kLabelEventWithArguments = 5;

// Sends the test label type's message that makes a label raise kLabelEvent.
inline constexpr UINT kRaiseLabelEvent = WM_APP + 1;

// Runs the window system's queue until it is empty.
void pumpPending();

}  // namespace velmora::testing
