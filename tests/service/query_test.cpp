// Queries as they arrive: percent-encoded GBK, raw bytes, broken escapes.
#include "service/query.h"

#include <gtest/gtest.h>

namespace velmora::service {
namespace {

using Value = std::optional<std::string>;

TEST(QueryTest, PercentEncodedGbkBecomesUtf8) {
  const Query query = decodeQuery("username=%D5%C5%C8%FD&password=a%2Cb%26c%3Dd%20e");
  EXPECT_EQ(query.at("username"), Value("张三"));
  EXPECT_EQ(query.at("password"), Value("a,b&c=d e"));
  EXPECT_EQ(decodeQuery("x=%d5%c5").at("x"), Value("张"));
}

TEST(QueryTest, RawBytesStandForThemselves) {
  EXPECT_EQ(decodeQuery("x=\xD5\xC5+1").at("x"), Value("张+1"));
}

TEST(QueryTest, UnreadableValuesArePresentWithoutText) {
  for (const char* raw :
       {"x=%FF%FF", "x=%D5", "x=%4", "x=%", "x=%G1", "x=%0A", "x=a%00b", "x=\x81"}) {
    const Query query = decodeQuery(raw);
    ASSERT_TRUE(query.contains("x")) << raw;
    EXPECT_EQ(query.at("x"), std::nullopt) << raw;
  }
}

// The JSON API's callers send UTF-8, and their URL libraries write a space as "+".
TEST(QueryTest, FormEncodedUtf8) {
  const struct {
    const char* raw;
    Value value;
  } rows[] = {
      {"x=%E5%BE%AE%E4%BF%A1", Value("微信")},
      {"x=a+b%2Bc", Value("a b+c")},
      {"x=\xE5\xBE\xAE", Value("微")},
      {"x=%D5%C5", std::nullopt},
      {"x=%C0%AF", std::nullopt},
      {"x=%0A", std::nullopt},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(decodeQuery(row.raw, QueryEncoding::kFormUtf8).at("x"), row.value) << row.raw;
  }
  EXPECT_EQ(decodeQuery("a+b=1", QueryEncoding::kFormUtf8).at("a b"), Value("1"));
}

TEST(QueryTest, ShapeOfTheQuery) {
  const Query query = decodeQuery("a=1&&b&a=2&=3&c=x=y");
  EXPECT_EQ(query.at("a"), Value("1"));  // the first of repeated names
  EXPECT_EQ(query.at("b"), Value(""));
  EXPECT_EQ(query.at("c"), Value("x=y"));
  EXPECT_EQ(query.size(), 3u);
  EXPECT_TRUE(decodeQuery("").empty());
}

}  // namespace
}  // namespace velmora::service
