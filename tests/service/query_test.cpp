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
