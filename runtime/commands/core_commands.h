// The core library's command table: a command's number is its position here, and the program
// calls it by that number through the call-core-command entry.
#pragma once

#include "runtime/tagged_value.h"

namespace velmora::runtime {

inline constexpr int kCoreCommandCount = 25;

namespace core_command {
inline constexpr int kToText = 0;
inline constexpr int kMessageBox = 1;
inline constexpr int kToNumber = 2;
inline constexpr int kSplitText = 3;
inline constexpr int kSleep = 4;
inline constexpr int kLoadWindow = 5;
inline constexpr int kByteSetLength = 6;
inline constexpr int kBlankByteSet = 7;
inline constexpr int kBlankText = 8;
inline constexpr int kCloseWindow = 9;
inline constexpr int kClearComboBox = 10;
inline constexpr int kAddComboBoxItem = 11;
inline constexpr int kComboBoxItemCount = 12;
inline constexpr int kComboBoxItemText = 13;
inline constexpr int kFindText = 14;
inline constexpr int kSetClipboardText = 15;
inline constexpr int kSeedRandomNumbers = 16;
inline constexpr int kNow = 17;
inline constexpr int kYearOf = 18;
inline constexpr int kMonthOf = 19;
inline constexpr int kDayOf = 20;
inline constexpr int kRandomNumber = 21;
inline constexpr int kStartTimer = 22;
inline constexpr int kStopTimer = 23;
inline constexpr int kFlashWindow = 24;
}  // namespace core_command

extern const Command coreCommands[kCoreCommandCount];

}  // namespace velmora::runtime
