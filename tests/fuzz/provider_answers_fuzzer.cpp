// Fuzzes the reading of a provider's answers: the body of every step, as it may come from any
// server. Each reader returns a word and texts that fit it: an id and a phone of digits only for a
// grant, a code for an SMS, and every text one line of UTF-8 without spaces around it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "service/numbers/provider_answers.h"
#include "service/query.h"

namespace {

using namespace velmora::service;

void checkOneLine(const std::string& text) {
  if (text.empty()) return;
  if (!textFromUtf8(text) || text.front() == ' ' || text.back() == ' ') __builtin_trap();
  if (oneLineText(text) != text) __builtin_trap();
}

bool digitsOnly(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

void checkWord(ProviderWord word) {
  if (word == ProviderWord::kNoAnswer || providerWordText(word).empty()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view body(reinterpret_cast<const char*>(data), size);

  const BalanceAnswer balance = readBalanceAnswer(body);
  checkWord(balance.word);
  if ((balance.word == ProviderWord::kAccessBalance) == balance.amount.empty()) __builtin_trap();
  checkOneLine(balance.amount);

  const GrantAnswer grant = readGrantAnswer(body);
  checkWord(grant.word);
  if (grant.word == ProviderWord::kAccessNumber) {
    if (!digitsOnly(grant.id) || !digitsOnly(grant.phone)) __builtin_trap();
  } else if (!grant.id.empty() || !grant.phone.empty()) {
    __builtin_trap();
  }
  checkOneLine(grant.detail);

  const StatusAnswer status = readStatusAnswer(body);
  checkWord(status.word);
  if (status.word == ProviderWord::kStatusOk && status.code.empty()) __builtin_trap();
  checkOneLine(status.code);

  checkWord(readStepAnswer(body));

  if (const auto smsText = readSmsText(body)) {
    if (smsText->empty()) __builtin_trap();
    checkOneLine(*smsText);
  }

  const PriceAnswer price = readPriceAnswer(body, "wx", 3);
  if (price.read && (price.cost.empty() || price.count < 0)) __builtin_trap();
  checkOneLine(price.cost);
  return 0;
}
