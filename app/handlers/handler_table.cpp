#include "app/handlers/handler_table.h"

#include "app/handlers/handlers.h"

namespace velmora::app {
namespace {

// The client's handlers give no answer: the unit's own behaviour follows the event.
template <void (*kHandler)()>
uint64_t handlerEntry() {
  kHandler();
  return runtime::kNoAnswer;
}

}  // namespace

#define VELMORA_HANDLER_ENTRY(name) &handlerEntry<&name>,
const runtime::EventHandler handlerTable[program_data::kHandlerCount] = {
    VELMORA_PROGRAM_HANDLERS(VELMORA_HANDLER_ENTRY)};
#undef VELMORA_HANDLER_ENTRY

}  // namespace velmora::app
