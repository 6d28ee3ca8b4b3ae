// The program's handler table: the code base of the program data. Handler i of the window data's
// bindings is entry i.
#pragma once

#include "runtime/event_handler.h"
#include "program_data_generated.h"

namespace velmora::app {

extern const EventHandler handlerTable[program_data::kHandlerCount];

}  // namespace velmora::app
