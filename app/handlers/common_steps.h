// What several windows' handlers do alike.
#pragma once

#include <string_view>

#include "app/protocol/requests.h"
#include "app/window_units.h"

namespace velmora::app {

// The service the program was built for.
protocol::ServiceAddress serviceAddress();

// Asks the service for its support contact and shows it in the label.
void showSupportContact(UnitRef label);
// Shows the account's balance in the label.
void showBalance(UnitRef label);
// Puts a text on the clipboard and says whether that worked.
void copyText(const char* text, const char* copiedMessage, const char* caption);
// The same with the text of a unit.
void copyUnitText(UnitRef unit, const char* copiedMessage, const char* caption);
// Account texts are stored comma-separated: a value holding "," would shift every later field.
bool holdsComma(std::string_view text);

}  // namespace velmora::app
