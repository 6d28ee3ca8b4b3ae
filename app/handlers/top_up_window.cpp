// The top-up window: the pending order the service holds for the account, new orders, deleting
// the pending one, and the deposit address.
#include <string>

#include "app/account.h"
#include "app/client_texts.h"
#include "app/handlers/common_steps.h"
#include "app/handlers/handlers.h"
#include "app/protocol/replies.h"
#include "app/protocol/request_values.h"
#include "app/protocol/requests.h"
#include "app/protocol/vocabulary.h"
#include "app/service_calls.h"
#include "app/window_calls.h"

namespace velmora::app {
namespace {

using namespace top_up;

constexpr int32_t kPauseAfterChange = 300;
constexpr double kLeastAmount = 1;
constexpr double kMinimumAmount = 5;

void showOrder(const char* user, const char* amount, const char* orderNumber, const char* time) {
  setUnitText(kOrderUser, user);
  setUnitText(kOrderAmount, amount);
  setUnitText(kOrderNumber, orderNumber);
  setUnitText(kOrderTime, time);
}

// An order is shown while its user label holds a text.
bool orderShown() {
  return !unitText(kOrderUser).empty();
}

// Shows the service's pending order. A reply without an order leaves the labels as they are.
void refreshPendingOrder() {
  const char* user = accountField(AccountField::kUserName);
  const Text reply = askService(
      protocol::pendingOrderUrl(serviceAddress(), user, accountField(AccountField::kPassword)));
  if (const auto order = protocol::readPendingOrder(reply.get(), user)) {
    showOrder(order->user.c_str(), order->amount.c_str(), order->orderNumber.c_str(),
              order->time.c_str());
  }
  const bool shown = orderShown();
  setVisible(kOrderFrame, shown);
  setVisible(kDeleteOrder, shown);
}

}  // namespace

void topUpWindowCreated() {
  showSupportContact(kSupportContact);
  setUnitText(kUserName, accountField(AccountField::kUserName));
  showBalance(kBalance);
  const Text address = askService(protocol::depositAddressUrl(serviceAddress()));
  setUnitText(kDepositAddress, address.get());
  refreshPendingOrder();
}

void submitTopUpClicked() {
  const Text typedAmount = unitText(kAmount);
  const double amount = toNumber(typedAmount.get());
  if (isLess(amount, kLeastAmount)) return showMessage(texts::kEnterValidNumber);
  if (isLess(amount, kMinimumAmount)) return showMessage(texts::kMinimumAmount);
  if (orderShown()) return showMessage(texts::kOrderPending);

  const Text user = unitText(kUserName);
  const std::string date = protocol::currentDate();
  const std::string orderNumber = protocol::newOrderNumber();
  const Text reply = askService(protocol::submitOrderUrl(serviceAddress(), user.view(),
                                                         typedAmount.view(), orderNumber, date,
                                                         accountField(AccountField::kPassword)));
  if (protocol::isStatus(reply.get(), protocol::status::kNotDone)) {
    showMessage(texts::kSubmitFailed);
  } else if (protocol::isStatus(reply.get(), protocol::status::kDone)) {
    showMessage(texts::kSubmitted);
    pause(kPauseAfterChange);
  }
  refreshPendingOrder();
}

void deleteOrderClicked() {
  const Text reply =
      askService(protocol::deleteOrderUrl(serviceAddress(), accountField(AccountField::kUserName),
                                          accountField(AccountField::kPassword)));
  if (!protocol::isStatus(reply.get(), protocol::status::kDone)) return;
  showOrder(nullptr, nullptr, nullptr, nullptr);
  showMessage(texts::kOrderDeleted);
  pause(kPauseAfterChange);
  refreshPendingOrder();
}

void copyAddressClicked() {
  copyUnitText(kDepositAddress, texts::kAddressCopied, texts::kNoticeCaption);
}

}  // namespace velmora::app
