// The profile window: the account's password, e-mail and receiving address, sent to the service
// on save.
#include <string>

#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/common_steps.h"
#include "app/handlers/handlers.h"
#include "app/protocol/replies.h"
#include "app/protocol/requests.h"
#include "app/protocol/vocabulary.h"
#include "app/service_calls.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

using namespace profile;

// The service keeps "0" for an e-mail or address left empty.
std::string orZero(std::string_view text) {
  return text.empty() ? protocol::kNoValue : std::string(text);
}

}  // namespace

void profileWindowCreated() {
  setUnitText(kUser, accountField(AccountField::kUserName));
  setUnitText(kPassword, accountField(AccountField::kPassword));
  setUnitText(kEmail, accountField(AccountField::kEmail));
  setUnitText(kAddress, accountField(AccountField::kReceivingAddress));
}

void profileSaveClicked() {
  const Text user = unitText(kUser);
  const Text password = unitText(kPassword);
  const Text email = unitText(kEmail);
  const Text address = unitText(kAddress);
  if (password.empty()) return showMessage(texts::kEnterPassword);
  if (holdsComma(user.view()) || holdsComma(password.view()) || holdsComma(email.view()) ||
      holdsComma(address.view()))
    return showMessage(texts::kNoCommas);

  const Text reply = askService(protocol::updateProfileUrl(
      serviceAddress(), user.view(), password.view(), orZero(email.view()), orZero(address.view()),
      accountField(AccountField::kPassword)));
  if (!protocol::isStatus(reply.get(), protocol::status::kDone))
    return showMessage(texts::kNotUpdated);
  // The window opens from these fields next time, and the next requests prove the account with
  // the password saved: they hold what the user saved, a box left empty as empty, not as the "0"
  // that stood for it on the wire.
  setAccountField(AccountField::kPassword, password.view());
  setAccountField(AccountField::kEmail, email.view());
  setAccountField(AccountField::kReceivingAddress, address.view());
  showMessage(texts::kUpdated);
}

}  // namespace velmora::app
