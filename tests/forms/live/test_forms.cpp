#include "tests/forms/live/test_forms.h"

#include <cstring>
#include <string>

#include "controls/win32/standard_units.h"
#include "forms/event_numbers.h"
#include "forms/format/property_blocks.h"
#include "forms/format/unit_ids.h"
#include "forms/format/unit_type_descriptors.h"
#include "forms/format/window_data.h"
#include "forms/live/win32/live_window.h"
#include "forms/property_refs.h"
#include "runtime/event_handler.h"
#include "runtime/win32/runtime.h"
#include "runtime/win32/wide_text.h"

namespace velmora::testing {
namespace {

constexpr int32_t kRaiseEvent = 2008;
constexpr int32_t kUnitDestroyed = 2000;

HandlerCalls calls;

template <Handler kHandler>
uint64_t recordingHandler() {
  const int index = static_cast<int>(kHandler);
  calls.count[index] += 1;
  if (calls.action[index]) calls.action[index]();
  return kHandler == Handler::mainCloseQuery ? calls.closeQueryAnswer : runtime::kNoAnswer;
}

void recordEventSource() {
  uint32_t source[2] = {};
  if (runtime::runtimeNotify(2017, reinterpret_cast<uintptr_t>(source), 0) == 1)
    calls.source = {source[0], source[1]};
}

// Takes two words, remembers them and the event source, and answers with their sum.
uint64_t argumentsHandler(uint32_t first, uint32_t second) {
  calls.count[static_cast<int>(Handler::withArguments)] += 1;
  calls.arguments = {first, second};
  recordEventSource();
  return uint64_t{first} + second;
}

uint64_t focusHandler() {
  calls.count[static_cast<int>(Handler::gotFocus)] += 1;
  recordEventSource();
  return runtime::kNoAnswer;
}

const runtime::EventHandler handlerTable[] = {
    recordingHandler<Handler::mainCreated>,
    recordingHandler<Handler::mainCloseQuery>,
    recordingHandler<Handler::secondCreated>,
    recordingHandler<Handler::labelEvent>,
    reinterpret_cast<runtime::EventHandler>(reinterpret_cast<void*>(argumentsHandler)),
    recordingHandler<Handler::focusWindowCreated>,
    focusHandler};

int32_t handlerOffset(Handler handler) {
  return static_cast<int32_t>(handler) * 4;
}

// A test unit: the system control and the properties it keeps.
struct TestUnit : forms::LiveUnit {
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  forms::UnitProperties properties;
  WNDPROC systemProcedure = nullptr;
};

LRESULT CALLBACK testUnitProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* unit = reinterpret_cast<TestUnit*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  const WNDPROC system = unit->systemProcedure;
  if (message == kRaiseLabelEvent) {
    uint32_t record[11] = {unit->windowId, unit->unitId, kLabelEvent};  // no arguments
    runtime::runtimeNotify(kRaiseEvent, reinterpret_cast<uintptr_t>(record), 0);
    return 0;
  }
  if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)
    calls.deactivatedUnits.push_back(unit->unitId);
  if (message == WM_NCDESTROY) {
    const LRESULT result = CallWindowProcW(system, window, message, wParam, lParam);
    runtime::runtimeNotify(kUnitDestroyed, unit->windowId, unit->unitId);
    delete unit;
    return result;
  }
  return CallWindowProcW(system, window, message, wParam, lParam);
}

forms::LiveUnit* createTestUnit(const wchar_t* systemClass, uint32_t systemStyle,
                                forms::UnitProperties properties, const std::string& text,
                                uint32_t style, HWND parent, uintptr_t id, int32_t x, int32_t y,
                                int32_t width, int32_t height, uint32_t windowId, uint32_t unitId) {
  HWND window = CreateWindowExW(0, systemClass, runtime::wideFromGbk(text).c_str(),
                                WS_CHILD | systemStyle | style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(id), GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  auto* unit = new TestUnit;
  unit->window = window;
  unit->windowId = windowId;
  unit->unitId = unitId;
  unit->properties = std::move(properties);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(unit));
  unit->systemProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(testUnitProcedure)));
  // A unit that reports an event while it is being built: no handler may hear it.
  SendMessageW(window, kRaiseLabelEvent, 0, 0);
  return unit;
}

forms::LiveUnit* VELMORA_STDCALL createLabel(const uint8_t* block, uint32_t length, uint32_t style,
                                             HWND parent, uintptr_t id, int32_t x, int32_t y,
                                             int32_t width, int32_t height, uint32_t windowId,
                                             uint32_t unitId, HWND, int32_t) {
  forms::LabelProperties properties;
  if (forms::readPropertyBlock(std::span(block, length), properties) != forms::ReadStatus::kOk)
    return nullptr;
  const std::string caption = properties.caption;
  return createTestUnit(L"STATIC", 0, properties, caption, style, parent, id, x, y, width, height,
                        windowId, unitId);
}

forms::LiveUnit* VELMORA_STDCALL createComboBox(const uint8_t* block, uint32_t length,
                                                uint32_t style, HWND parent, uintptr_t id,
                                                int32_t x, int32_t y, int32_t width, int32_t height,
                                                uint32_t windowId, uint32_t unitId, HWND, int32_t) {
  forms::ComboBoxProperties properties;
  if (forms::readPropertyBlock(std::span(block, length), properties) != forms::ReadStatus::kOk)
    return nullptr;
  return createTestUnit(L"COMBOBOX", CBS_DROPDOWNLIST, properties, "", style, parent, id, x, y,
                        width, height + 100, windowId, unitId);
}

forms::PropertyRef ownProperty(TestUnit& unit, int32_t ownIndex) {
  forms::PropertyRef found;
  forEachProperty(unit.properties, [&](const forms::PropertyInfo& info, forms::PropertyRef ref) {
    if (info.index == forms::propertyOfOwnIndex(ownIndex)) found = ref;
  });
  return found;
}

int32_t VELMORA_STDCALL readTestProperty(forms::LiveUnit* live, int32_t ownIndex,
                                         forms::PropertyValue* out) {
  return forms::readPropertyRef(ownProperty(*static_cast<TestUnit*>(live), ownIndex), *out) ? 1 : 0;
}

// The label's caption shows at once; any other change of a label needs a new unit.
int32_t VELMORA_STDCALL testPropertyChanged(forms::LiveUnit* live, int32_t ownIndex,
                                            const forms::PropertyValue* value, int32_t) {
  auto& unit = *static_cast<TestUnit*>(live);
  const forms::PropertyRef ref = ownProperty(unit, ownIndex);
  forms::writePropertyRef(ref, *value);
  if (auto text = std::get_if<std::string*>(&ref)) {
    SetWindowTextW(unit.window, runtime::wideFromGbk(**text).c_str());
    return 0;
  }
  return 1;
}

int32_t VELMORA_STDCALL serialiseTestUnit(forms::LiveUnit* live, forms::SerialisedBlock* out) {
  const forms::Bytes block = forms::writeUnitProperties(static_cast<TestUnit*>(live)->properties);
  out->block = GlobalAlloc(GMEM_MOVEABLE, block.size());
  std::memcpy(GlobalLock(out->block), block.data(), block.size());
  GlobalUnlock(out->block);
  out->length = static_cast<uint32_t>(block.size());
  return 1;
}

template <auto kCreate>
void* testInterface(int32_t number) {
  switch (number) {
    case forms::kCreateUnit:
      return reinterpret_cast<void*>(kCreate);
    case forms::kPropertyChanged:
      return reinterpret_cast<void*>(testPropertyChanged);
    case forms::kSerialiseUnit:
      return reinterpret_cast<void*>(serialiseTestUnit);
    case forms::kReadProperty:
      return reinterpret_cast<void*>(readTestProperty);
    default:
      return nullptr;
  }
}

intptr_t VELMORA_STDCALL testLibraryNotify(int32_t code, uintptr_t, uintptr_t) {
  if (code == runtime::kLibraryNotifyStart) forms::installFormRuntime();
  return 0;
}

forms::UnitRecord unitOf(uint32_t type, uint32_t flags) {
  forms::UnitRecord unit;
  unit.type = type;
  unit.flags = flags;
  return unit;
}

forms::UnitRecord windowUnit(const char* caption, std::vector<forms::EventBinding> events) {
  forms::WindowProperties properties;
  properties.caption = caption;
  properties.position = 0;
  forms::UnitRecord unit = unitOf(forms::kWindowType, forms::kUnitVisible);
  unit.left = 40;
  unit.top = 40;
  unit.width = 320;
  unit.height = 240;
  unit.events = std::move(events);
  unit.propertyBlock = forms::writePropertyBlock(properties);
  return unit;
}

forms::UnitRecord labelUnit(const char* caption, int32_t left, int32_t top) {
  forms::LabelProperties properties;
  properties.caption = caption;
  LOGFONTA font{};
  font.lfHeight = -12;  // 9 points at 96 dots per inch
  font.lfWeight = 700;
  std::strcpy(font.lfFaceName, "Tahoma");
  properties.font.assign(reinterpret_cast<uint8_t*>(&font),
                         reinterpret_cast<uint8_t*>(&font) + sizeof font);
  forms::UnitRecord unit = unitOf(forms::kLabelType, forms::kUnitVisible);
  unit.left = left;
  unit.top = top;
  unit.width = 100;
  unit.height = 30;
  unit.tag = "tag";
  unit.events = {{kLabelEvent, handlerOffset(Handler::labelEvent)},
                 {kLabelEventWithArguments, handlerOffset(Handler::withArguments)}};
  unit.propertyBlock = forms::writePropertyBlock(properties);
  return unit;
}

forms::WindowRecord windowRecord(uint32_t id, std::vector<uint32_t> ids,
                                 std::vector<forms::UnitRecord> units) {
  std::vector<forms::Bytes> records;
  for (const forms::UnitRecord& unit : units) records.push_back(writeUnitRecord(unit));
  forms::WindowRecord window;
  window.id = id;
  window.units = forms::UnitTable::build(ids, records);
  return window;
}

forms::Bytes buildTestWindowData() {
  forms::UnitRecord combo = unitOf(forms::kComboBoxType, forms::kUnitVisible);
  combo.left = 10;
  combo.top = 100;
  combo.width = 120;
  combo.height = 24;
  combo.propertyBlock = forms::writePropertyBlock(forms::ComboBoxProperties{});
  forms::UnitRecord edit = unitOf(forms::kEditBoxType, forms::kUnitVisible);
  edit.width = kStoredEditBoxWidth;
  edit.height = 20;
  edit.propertyBlock = writePropertyBlock(forms::EditBoxProperties{});
  forms::UnitRecord linked = labelUnit("linked", 0, 40);
  linked.link = kServingLabel;
  linked.events.clear();
  const forms::EventBinding gotFocus{forms::unit_event::kGotFocus,
                                     handlerOffset(Handler::gotFocus)};
  forms::UnitRecord contained = combo;
  contained.container = kContainerLabel;
  contained.top = 10;
  contained.events = {gotFocus};
  forms::UnitRecord container = labelUnit("container", 0, 60);
  container.height = 100;
  container.children = {kContainedComboBox};
  container.events = {gotFocus};
  const std::vector<forms::WindowRecord> windows = {
      windowRecord(
          kMainWindow, {kMainWindowUnit, kUpperLabel, kLowerLabel, kComboBox},
          {windowUnit(kMainCaption,
                      {{forms::window_event::kCreated, handlerOffset(Handler::mainCreated)},
                       {forms::window_event::kCloseQuery, handlerOffset(Handler::mainCloseQuery)}}),
           labelUnit(kUpperCaption, 10, 10), labelUnit("lower", 20, 20), combo}),
      windowRecord(kSecondWindow, {kSecondWindowUnit},
                   {windowUnit("Second", {{forms::window_event::kCreated,
                                           handlerOffset(Handler::secondCreated)}})}),
      windowRecord(kStoredWindow,
                   {0x06000003, kStoredEditBox, kServingLabel, kLinkedLabel, kUntypedUnit},
                   {windowUnit("Stored", {}), edit, labelUnit("serving", 0, 0), linked,
                    unitOf(0x00010002, 0)}),
      windowRecord(kBrokenWindow, {0x06000004, 0x16000041}, {windowUnit("Broken", {}), edit}),
      windowRecord(kFocusWindow, {0x06000005, kContainedComboBox, kContainerLabel},
                   {windowUnit("Focus", {{forms::window_event::kCreated,
                                          handlerOffset(Handler::focusWindowCreated)}}),
                    contained, container}),
  };
  return forms::writeWindowData(windows);
}

}  // namespace

const runtime::LibraryDescriptor& testLibrary() {
  static forms::UnitTypeDescriptor typeSlots[14];
  static const runtime::LibraryDescriptor library = [] {
    typeSlots[0] = forms::unitTypeDescriptor(forms::kWindowType, controls::windowUnitInterface);
    typeSlots[4] = forms::unitTypeDescriptor(forms::kEditBoxType, nullptr);
    typeSlots[9] = forms::unitTypeDescriptor(forms::kLabelType, testInterface<createLabel>);
    typeSlots[13] = forms::unitTypeDescriptor(forms::kComboBoxType, testInterface<createComboBox>);
    runtime::LibraryDescriptor descriptor;
    descriptor.magic = runtime::kLibraryMagic;
    descriptor.unitTypeCount = 14;
    descriptor.unitTypes = typeSlots;
    descriptor.notify = testLibraryNotify;
    return descriptor;
  }();
  return library;
}

const forms::Bytes& testWindowData() {
  static const forms::Bytes data = buildTestWindowData();
  return data;
}

const void* testCodeBase() {
  return handlerTable;
}

HandlerCalls& handlerCalls() {
  return calls;
}

TestForms::TestForms() {
  calls = HandlerCalls{};
  runtime::RuntimeState& state = runtime::runtimeState();
  state.libraries = {&testLibrary()};
  state.loadingDepth = 0;
  state.modalWindowId = 0;
  testLibrary().notify(runtime::kLibraryNotifyStart, 0, 0);
  const forms::Bytes& data = testWindowData();
  runtime::windowRegistry().loadWindowData(data.data(), static_cast<uint32_t>(data.size()),
                                           testCodeBase());
}

TestForms::~TestForms() {
  forms::formRegistry().releaseAllWindows();
  pumpPending();
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  runtime::runtimeState().libraries.clear();
  runtime::runtimeState().messageLoopStarted = false;
  runtime::setWindowRegistry(nullptr);
}

HWND TestForms::windowHandle(uint32_t windowId) {
  const forms::WindowObject* window = forms::formRegistry().find(windowId);
  forms::LiveWindow* live = window ? forms::formRegistry().liveWindow(*window) : nullptr;
  return live ? live->window : nullptr;
}

HWND TestForms::unitHandle(uint32_t windowId, uint32_t unitId) {
  forms::LiveUnit* unit = forms::formRegistry().findLive(windowId, unitId, false);
  return unit ? unit->window : nullptr;
}

void pumpPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    GetMessageW(&message, nullptr, 0, 0);
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace velmora::testing
