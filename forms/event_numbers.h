// The numbers of the events windows and units raise, which the window data binds handlers to: the
// form runtime raises the window's events and the focus events, each unit type its own. A type
// numbers its own events from 0; the events every unit shares are negative.
#pragma once

#include <cstdint>

namespace velmora::forms {

// The events of every unit.
namespace unit_event {
inline constexpr int32_t kGotFocus = -7;
inline constexpr int32_t kLostFocus = -8;
}  // namespace unit_event

// The window's own events, raised with unit id 0.
namespace window_event {
inline constexpr int32_t kCreated = 0;
// The two close queries, asked in turn (kCloseQuery first) when the window is asked to close;
// either one refuses the close by answering false.
inline constexpr int32_t kCloseQuery = 12;
inline constexpr int32_t kClosing = 1;
inline constexpr int32_t kDestroying = 2;
// Raised once each, in turn, right after kCreated and before the window first shows; the
// runtime gives them no meaning of their own.
inline constexpr int32_t kFirstAfterCreated = 3;
inline constexpr int32_t kSecondAfterCreated = 4;
inline constexpr int32_t kIdle = 7;
inline constexpr int32_t kShown = 10;
inline constexpr int32_t kHidden = 11;
}  // namespace window_event

namespace edit_box_event {
inline constexpr int32_t kContentChanged = 0;
inline constexpr int32_t kAdjusterClicked = 1;  // its argument: 1 up, -1 down
}  // namespace edit_box_event

namespace check_box_event {
inline constexpr int32_t kClicked = 0;
}  // namespace check_box_event

namespace combo_box_event {
inline constexpr int32_t kItemChosen = 0;
inline constexpr int32_t kTextEdited = 1;
}  // namespace combo_box_event

namespace super_btn_event {
inline constexpr int32_t kClicked = 0;
}  // namespace super_btn_event

}  // namespace velmora::forms
