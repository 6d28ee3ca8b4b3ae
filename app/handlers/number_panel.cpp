// The main window's number and SMS panel. Its buttons answer with fixed notices; the check box
// shows or hides the copy-code button.
#include "app/client_texts.h"
#include "app/handlers/handlers.h"
#include "app/window_calls.h"

namespace velmora::app {

void getNumberClicked() {
  showMessage(texts::kBalanceTooLow);
}

void chooseNumberClicked() {
  showMessage(texts::kBalanceTooLow);
}

void refreshSmsClicked() {
  showMessage(texts::kNoNumberYet);
}

void copySmsClicked() {
  showMessage(texts::kNoSms);
}

void copyVerificationCodeClicked() {
  showMessage(texts::kNoSms);
}

void blacklistButtonClicked() {
  showMessage(texts::kNothingToBlacklist);
}

void releaseButtonClicked() {
  showMessage(texts::kNothingToRelease);
}

void autoCodeCheckClicked() {
  setVisible(main_window::kCopyCode, isTicked(main_window::kAutoCode));
}

}  // namespace velmora::app
