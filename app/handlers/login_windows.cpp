// The login window, where the user logs in, and the registration window, where a new account is
// made.
#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/handlers.h"
#include "app/handlers/common_steps.h"
#include "app/protocol/replies.h"
#include "app/protocol/request_values.h"
#include "app/protocol/requests.h"
#include "app/service_calls.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

constexpr int32_t kPauseBeforeMainWindow = 200;
constexpr int32_t kPauseBeforeClosing = 100;

}  // namespace

void loginWindowCreated() {
  showSupportContact(login::kSupportContact);
}

void loginButtonClicked() {
  const Text user = unitText(login::kUserName);
  const Text password = unitText(login::kPassword);
  if (user.empty()) return showMessage(texts::kEnterUserName);
  if (password.empty()) return showMessage(texts::kEnterPassword);

  const Text reply = askService(protocol::loginUrl(serviceAddress(), user.view(), password.view()));
  // A whole account record is a success whatever its first field reads as.
  const auto record = protocol::readAccountRecord(reply.get());
  if (!record) {
    return showMessage(protocol::isLoginFailure(reply.get()) ? texts::kCheckDetails
                                                             : texts::kLoginFailed);
  }
  showMessage(texts::kLoggedIn);
  storeAccount(*record);
  pause(kPauseBeforeMainWindow);
  openWindow(main_window::kWindow);
}

void registerLinkClicked() {
  openWindow(registration::kWindow);
}

void registrationWindowCreated() {}

void registrationSubmitClicked() {
  const Text user = unitText(registration::kUserName);
  const Text password = unitText(registration::kPassword);
  const Text email = unitText(registration::kEmail);
  const std::string code = protocol::newRegistrationCode();
  if (password.view() != unitText(registration::kPasswordAgain).view())
    return showMessage(texts::kPasswordsDiffer);
  if (holdsComma(user.view()) || holdsComma(password.view()) || holdsComma(email.view()))
    return showMessage(texts::kNoCommas);

  const Text reply = askService(
      protocol::registerUrl(serviceAddress(), user.view(), password.view(), code, email.view()));
  switch (protocol::readRegistrationStatus(reply.get())) {
    case protocol::RegistrationStatus::kIncomplete:
      return showMessage(texts::kRegistrationIncomplete);
    case protocol::RegistrationStatus::kNameTaken:
      return showMessage(texts::kNameTaken);
    case protocol::RegistrationStatus::kRegistered:
      return showMessage(texts::kRegistered);
    case protocol::RegistrationStatus::kFailed:
      return showMessage(texts::kRegistrationFailed);
    case protocol::RegistrationStatus::kUnknown:
      return;
  }
}

void backToLoginClicked() {
  openWindow(login::kWindow);
  pause(kPauseBeforeClosing);
  closeWindow(registration::kWindow);
}

}  // namespace velmora::app
