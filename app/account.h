// The account fields: eight texts taken from the login reply, held for the whole run and
// released by the program's exit routine.
#pragma once

#include <string>
#include <string_view>

#include "app/protocol/replies.h"

namespace velmora::app {

enum class AccountField {
  kUserName = 1,
  kPassword = 2,
  kBalance = 3,
  kReceivingAddress = 4,
  kInvitationCode = 5,
  kEmail = 8,
};

// The field's text, lent; the empty text is "".
const char* accountField(AccountField field);
// Replaces the field's text, releasing the one it held.
void setAccountField(AccountField field, std::string_view text);
// Fields 1 to 8 from the login record.
void storeAccount(const protocol::AccountRecord& record);
void releaseAccount();

// The balance as the labels show it: two decimals added to a whole number, "0.00" for a balance
// that is not above zero or not a number.
std::string balanceText();

}  // namespace velmora::app
