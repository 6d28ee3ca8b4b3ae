// The promotion window with the invitation code, and the API window with the API address, code
// samples and the support contact.
#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/handlers.h"
#include "app/handlers/common_steps.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

constexpr int32_t kRefreshPause = 300;

// The four sample boxes lie on one another: exactly one is visible.
void showSample(UnitRef sample) {
  for (const UnitRef box : {api::kPythonSample, api::kJavaSample, api::kJsSample, api::kCppSample})
    setVisible(box, box.unit == sample.unit);
}

void copyApiAddress() {
  copyUnitText(api::kAddress, texts::kCopied, texts::kHintCaption);
}

}  // namespace

void promotionWindowCreated() {
  setUnitText(promotion::kInvitationCode, accountField(AccountField::kInvitationCode));
}

void promotionRefreshClicked() {
  pause(kRefreshPause);
  showMessage(texts::kRefreshed);
}

void apiWindowCreated() {
  showSupportContact(api::kSupportContact);
}

void pythonSampleClicked() {
  showSample(api::kPythonSample);
}

void javaSampleClicked() {
  showSample(api::kJavaSample);
}

void jsSampleClicked() {
  showSample(api::kJsSample);
}

void cppSampleClicked() {
  showSample(api::kCppSample);
}

void copyApiAddressClicked() {
  copyApiAddress();
}

void copyCodeButtonClicked() {
  copyApiAddress();
}

}  // namespace velmora::app
