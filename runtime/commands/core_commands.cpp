// The core library's command table in its fixed order.
#include "runtime/commands/core_commands.h"

#include "runtime/commands/commands.h"
#include "runtime/commands/installed_commands.h"

namespace velmora::runtime {

const Command coreCommands[kCoreCommandCount] = {
    toText,
    installedCommandEntry<core_command::kMessageBox>,
    toNumber,
    splitText,
    sleep,
    installedCommandEntry<core_command::kLoadWindow>,
    byteSetLengthCommand,
    blankByteSet,
    blankText,
    installedCommandEntry<core_command::kCloseWindow>,
    installedCommandEntry<core_command::kClearComboBox>,
    installedCommandEntry<core_command::kAddComboBoxItem>,
    installedCommandEntry<core_command::kComboBoxItemCount>,
    installedCommandEntry<core_command::kComboBoxItemText>,
    findText,
    installedCommandEntry<core_command::kSetClipboardText>,
    seedRandomNumbers,
    now,
    yearOf,
    monthOf,
    dayOf,
    randomNumber,
    installedCommandEntry<core_command::kStartTimer>,
    installedCommandEntry<core_command::kStopTimer>,
    installedCommandEntry<core_command::kFlashWindow>,
};

}  // namespace velmora::runtime
