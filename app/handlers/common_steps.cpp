#include "app/handlers/common_steps.h"

#include "app/account.h"
#include "app/client_texts.h"
#include "app/protocol/requests.h"
#include "app/service_calls.h"
#include "app/window_calls.h"
#include "program_data_generated.h"

namespace velmora::app {

protocol::ServiceAddress serviceAddress() {
  return {program_data::serviceScheme(), program_data::serviceHost()};
}

void showSupportContact(UnitRef label) {
  const Text contact = askService(protocol::supportContactUrl(serviceAddress()));
  setUnitText(label, contact.get());
}

void showBalance(UnitRef label) {
  setUnitText(label, balanceText().c_str());
}

void copyText(const char* text, const char* copiedMessage, const char* caption) {
  showMessage(setClipboardText(text) ? copiedMessage : texts::kCopyFailed, caption);
}

void copyUnitText(UnitRef unit, const char* copiedMessage, const char* caption) {
  copyText(unitText(unit).get(), copiedMessage, caption);
}

bool holdsComma(std::string_view text) {
  // "," is never a byte of a double-byte character, so the bytes can be searched.
  return text.find(',') != std::string_view::npos;
}

}  // namespace velmora::app
