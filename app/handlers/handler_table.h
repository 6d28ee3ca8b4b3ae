// The program's handler table: the code base of the program data. Handler i of the window data's
// bindings is entry i.
#pragma once

#include "program_data_generated.h"
#include "runtime/event_handler.h"

namespace velmora::app {

extern const runtime::EventHandler handlerTable[program_data::kHandlerCount];

}  // namespace velmora::app
