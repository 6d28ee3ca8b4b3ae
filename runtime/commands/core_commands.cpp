// The core library's command table in its fixed order.
#include "runtime/commands/core_commands.h"

#include "runtime/commands/commands.h"

namespace velmora {

const Command coreCommands[kCoreCommandCount] = {
    toText,
    nullptr,  // message box: filled by the window commands
    toNumber,
    splitText,
    sleep,
    nullptr,  // load window: filled by the window commands
    byteSetLengthCommand,
    blankByteSet,
    blankText,
    nullptr,  // close window: filled by the window commands
    nullptr,  // clear combo box: filled by the combo box commands
    nullptr,  // add combo box item: filled by the combo box commands
    nullptr,  // combo box item count: filled by the combo box commands
    nullptr,  // combo box item text: filled by the combo box commands
    findText,
    nullptr,  // set clipboard text: filled by the clipboard command
    seedRandomNumbers,
    now,
    yearOf,
    monthOf,
    dayOf,
    randomNumber,
};

}  // namespace velmora
