// Amounts as the store keeps them and as the replies write them.
#include "service/money.h"

#include <gtest/gtest.h>

#include "service/database.h"

namespace velmora::service {
namespace {

TEST(MoneyTest, StoredAmountsAreReadInHundredths) {
  const struct {
    const char* text;
    std::optional<Hundredths> amount;
  } rows[] = {
      {"12", 1200},
      {"1.2", 120},
      {"10.80", 1080},
      {"0", 0},
      {"0.05", 5},
      {"007.5", 750},
      {"999999999999.99", 99999999999999},
      {"", std::nullopt},
      {".", std::nullopt},
      {"1.", std::nullopt},
      {".5", std::nullopt},
      {"-1", std::nullopt},
      {"+1", std::nullopt},
      {"1.234", std::nullopt},
      {"1,2", std::nullopt},
      {"1e3", std::nullopt},
      {" 1", std::nullopt},
      {"１", std::nullopt},
      {"1000000000000", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(readAmount(row.text), row.amount) << row.text;
  EXPECT_THROW(storedAmount("abc"), DatabaseError);
}

TEST(MoneyTest, AmountsAreWrittenWithTwoDecimals) {
  EXPECT_EQ(amountText(0), "0.00");
  EXPECT_EQ(amountText(5), "0.05");
  EXPECT_EQ(amountText(1080), "10.80");
  EXPECT_EQ(amountText(120000), "1200.00");
}

}  // namespace
}  // namespace velmora::service
