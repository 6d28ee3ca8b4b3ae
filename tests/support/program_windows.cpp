#include "tests/support/program_windows.h"

#include "app/libraries.h"
#include "app/window_units.h"
#include "forms/live/win32/form_registry.h"
#include "forms/live/win32/window_lifecycle.h"
#include "program_data_generated.h"
#include "runtime/win32/runtime.h"

namespace velmora::testing {
namespace {

constexpr int32_t kLoadWindowNotify = 2005;

forms::LiveWindow* liveWindowOf(uint32_t windowId) {
  const forms::WindowObject* window = forms::formRegistry().find(windowId);
  return window ? forms::formRegistry().liveWindow(*window) : nullptr;
}

}  // namespace

const ProgramWindow kProgramWindows[7] = {
    {app::login::kWindow, "login"},     {app::registration::kWindow, "registration"},
    {app::profile::kWindow, "profile"}, {app::main_window::kWindow, "main"},
    {app::top_up::kWindow, "top_up"},   {app::promotion::kWindow, "promotion"},
    {app::api::kWindow, "api"},
};

void startProgramRuntime() {
  // The program's own header, less its handler table: a zero code base binds no handler.
  static const runtime::ProgramHeader header = {
      .runMode = 3,
      .constants = program_data::constants,
      .constantsLength = program_data::kConstantsLength,
      .windowData = program_data::windowData,
      .windowDataLength = program_data::kWindowDataLength,
      .libraryCount = app::kProgramLibraryCount,
      .libraries = app::programLibraries,
  };
  runtime::initialiseRuntime(header);
}

HWND openProgramWindow(uint32_t windowId) {
  const forms::LoadRequest request{.windowId = windowId};
  if (runtime::runtimeNotify(kLoadWindowNotify, reinterpret_cast<uintptr_t>(&request), 0) != 0)
    return nullptr;
  runtime::processPendingMessages();
  forms::LiveWindow* live = liveWindowOf(windowId);
  return live ? live->window : nullptr;
}

bool closeProgramWindow(uint32_t windowId) {
  forms::LiveWindow* live = liveWindowOf(windowId);
  if (!live) return false;
  forms::requestClose(*live, true);
  runtime::processPendingMessages();
  return liveWindowOf(windowId) == nullptr;
}

}  // namespace velmora::testing
