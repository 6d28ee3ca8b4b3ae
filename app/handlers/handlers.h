// The client's event handlers, one per binding in the window data. Each takes no arguments and
// returns nothing; the handler table gives them to the form runtime.
#pragma once

#include "program_data_generated.h"

namespace velmora::app {

#define VELMORA_DECLARE_HANDLER(name) void name();
VELMORA_PROGRAM_HANDLERS(VELMORA_DECLARE_HANDLER)
#undef VELMORA_DECLARE_HANDLER

}  // namespace velmora::app
