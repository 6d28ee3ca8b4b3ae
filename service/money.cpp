#include "service/money.h"

#include <cstdio>

#include "service/database.h"

namespace velmora::service {

namespace {

// Far beyond any balance, and short enough that no sum of two amounts overflows.
constexpr size_t kMaxWholeDigits = 12;

bool allDigits(std::string_view text) {
  return text.find_first_not_of("0123456789") == std::string_view::npos;
}

Hundredths digitsValue(std::string_view digits) {
  Hundredths value = 0;
  for (const char digit : digits) value = value * 10 + (digit - '0');
  return value;
}

}  // namespace

std::optional<Hundredths> readAmount(std::string_view text) {
  const size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view decimals =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || whole.size() > kMaxWholeDigits || !allDigits(whole)) return std::nullopt;
  if (point != std::string_view::npos && (decimals.empty() || decimals.size() > 2)) {
    return std::nullopt;
  }
  if (!allDigits(decimals)) return std::nullopt;
  const Hundredths cents =
      decimals.size() == 1 ? digitsValue(decimals) * 10 : digitsValue(decimals);
  return digitsValue(whole) * 100 + cents;
}

Hundredths storedAmount(std::string_view text) {
  const std::optional<Hundredths> amount = readAmount(text);
  if (!amount) throw DatabaseError("unreadable amount in the store: " + std::string(text));
  return *amount;
}

std::string amountText(Hundredths amount) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(amount / 100),
                static_cast<long long>(amount % 100));
  return text;
}

}  // namespace velmora::service
