// The core library's command table in its fixed order.
#include "runtime/commands/core_commands.h"

#include "runtime/commands/commands.h"
#include "runtime/commands/window_commands.h"

namespace velmora {

const Command coreCommands[kCoreCommandCount] = {
    toText,
    messageBoxEntry,
    toNumber,
    splitText,
    sleep,
    loadWindowEntry,
    byteSetLengthCommand,
    blankByteSet,
    blankText,
    closeWindowEntry,
    clearComboBoxEntry,
    addComboBoxItemEntry,
    comboBoxItemCountEntry,
    comboBoxItemTextEntry,
    findText,
    setClipboardTextEntry,
    seedRandomNumbers,
    now,
    yearOf,
    monthOf,
    dayOf,
    randomNumber,
};

}  // namespace velmora
