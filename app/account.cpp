#include "app/account.h"

#include "app/runtime_calls.h"

namespace velmora::app {
namespace {

constexpr int kFieldCount = 8;
// Plain pointers rather than owning objects: the fields must not outlive the runtime's heap, so
// only the exit routine releases them.
char* fields[kFieldCount] = {};

void replaceField(int index, std::string_view text) {
  entryTable().free(fields[index]);
  fields[index] = makeText(text).release();
}

}  // namespace

const char* accountField(AccountField field) {
  const char* text = fields[static_cast<int>(field) - 1];
  return text ? text : "";
}

void setAccountField(AccountField field, std::string_view text) {
  replaceField(static_cast<int>(field) - 1, text);
}

void storeAccount(const protocol::AccountRecord& record) {
  for (int i = 0; i < kFieldCount; ++i) replaceField(i, record[i]);
}

void releaseAccount() {
  for (char*& field : fields) {
    entryTable().free(field);
    field = nullptr;
  }
}

std::string balanceText() {
  const std::string_view balance = accountField(AccountField::kBalance);
  if (!isGreater(toNumber(balance.data()), 0)) return "0.00";
  if (balance.find('.') != std::string_view::npos) return std::string(balance);
  return std::string(balance) + ".00";
}

}  // namespace velmora::app
