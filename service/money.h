// Amounts of USDT as the service counts them: whole hundredths, written with two decimals.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::service {

using Hundredths = std::int64_t;

// A stored amount: digits with at most two decimals ("12", "1.2", "10.80"); nothing for anything
// else, a sign or a third decimal included.
std::optional<Hundredths> readAmount(std::string_view text);

// An amount the store holds, which must be readable; throws DatabaseError when it is not.
Hundredths storedAmount(std::string_view text);

// Always two decimals: "10.80", "0.00". The client shows a balance with a point as it comes.
// Amounts are never negative: a charge larger than the balance is refused.
std::string amountText(Hundredths amount);

}  // namespace velmora::service
