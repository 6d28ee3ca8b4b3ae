// The leading number of a text as the client reads it, and the fields the records accept.
#include "service/field_rules.h"

#include <gtest/gtest.h>

namespace velmora::service {
namespace {

TEST(FieldRulesTest, LeadingNumber) {
  const struct {
    const char* text;
    double number;
  } cases[] = {
      {"25", 25}, {"  25abc", 25}, {"25.0", 25},   {"2.5e1", 25},   {"-12.5e1x", -125},
      {"+7", 7},  {".5", 0.5},     {"5.", 5},      {"1e", 1},       {"1e+", 1},
      {"abc", 0}, {"", 0},         {"+.", 0},      {"-", 0},        {"0x19", 0},
      {"inf", 0}, {"２５", 25},    {"　２５", 25}, {"１．５", 1.5}, {"２５号", 25},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(leadingNumber(c.text), c.number) << c.text;
}

TEST(FieldRulesTest, UserNamesTheClientWouldTakeForTheFailureReply) {
  EXPECT_FALSE(acceptableUserName("25e0"));
  EXPECT_TRUE(acceptableUserName("24.9"));
  EXPECT_TRUE(acceptableUserName("x25"));
}

// Only money: an amount with at most two decimals, from 5 to a million, and nothing after it.
TEST(FieldRulesTest, Amounts) {
  const struct {
    const char* text;
    bool accepted;
  } rows[] = {
      {"5", true},           {"5.00", true},     {"10.5", true},        {"1000000", true},
      {"１０", true},        {"１２．５", true}, {"4.99", false},       {"0.5", false},
      {"4.99999999", false}, {"5.001", false},   {"1000000.01", false}, {"1e3", false},
      {"1e999", false},      {"5,000", false},   {"10abc", false},      {" 10", false},
      {"10 ", false},        {"-10", false},     {"+10", false},        {"", false},
      {"6-1", false},        {"inf", false},
  };
  for (const auto& row : rows) EXPECT_EQ(acceptableAmount(row.text), row.accepted) << row.text;
}

}  // namespace
}  // namespace velmora::service
