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

TEST(FieldRulesTest, RecordFields) {
  EXPECT_TRUE(fitsRecord("abc", ","));
  EXPECT_FALSE(fitsRecord("", ","));
  EXPECT_FALSE(fitsRecord("a,b", ","));
  EXPECT_FALSE(fitsRecord("a-b", ",-"));
  EXPECT_TRUE(fitsRecord(std::string(kMaxFieldBytes, 'x'), ","));
  EXPECT_FALSE(fitsRecord(std::string(kMaxFieldBytes + 1, 'x'), ","));
  EXPECT_TRUE(acceptableUserName("x25"));
  EXPECT_FALSE(acceptableUserName("25e0"));
  EXPECT_TRUE(acceptableUserName("24.9"));
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

TEST(FieldRulesTest, EmptyOptionalFieldsAreStoredAsZero) {
  EXPECT_EQ(storedOptional(""), "0");
  EXPECT_EQ(storedOptional("a@b.c"), "a@b.c");
}

}  // namespace
}  // namespace velmora::service
