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

TEST(FieldRulesTest, Amounts) {
  EXPECT_TRUE(acceptableAmount("5"));
  EXPECT_TRUE(acceptableAmount("5.00"));
  EXPECT_TRUE(acceptableAmount("4.99999999"));  // within the client's tolerance
  EXPECT_FALSE(acceptableAmount("4.99"));
  EXPECT_FALSE(acceptableAmount("0.5"));
  EXPECT_FALSE(acceptableAmount("1e-3"));
  EXPECT_TRUE(acceptableAmount("1e3"));
}

}  // namespace
}  // namespace velmora::service
