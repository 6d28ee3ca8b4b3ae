#include "app/protocol/requests.h"

#include <gtest/gtest.h>

#include "tests/support/gbk.h"

namespace velmora::protocol {
namespace {

using testing::gbk;

constexpr ServiceAddress kService{"http", "127.0.0.1:8765"};

TEST(Requests, EveryEndpointWithItsParametersInOrder) {
  EXPECT_EQ(loginUrl(kService, "demo", "demo123"),
            "http://127.0.0.1:8765/E/qx/login.php?username=demo&password=demo123");
  EXPECT_EQ(registerUrl(kService, "neo", "pw", "11111", ""),
            "http://127.0.0.1:8765/E/qx/restuser.php?username=neo&password=pw&sj=11111&email=");
  EXPECT_EQ(supportContactUrl(kService), "http://127.0.0.1:8765/E/qx/getkf.php");
  EXPECT_EQ(projectListUrl(kService), "http://127.0.0.1:8765/E/qx/getxm.php");
  // The order and profile requests prove the account after their documented parameters.
  EXPECT_EQ(pendingOrderUrl(kService, "demo", "demo 123"),
            "http://127.0.0.1:8765/E/qx/getpay.php?username=demo&password=demo%20123");
  EXPECT_EQ(deleteOrderUrl(kService, "demo", "demo123"),
            "http://127.0.0.1:8765/E/qx/delpay.php?username=demo&password=demo123");
  EXPECT_EQ(submitOrderUrl(kService, "demo", "10abc", "20252345311234", "2025/3/7", "demo123"),
            "http://127.0.0.1:8765/E/qx/restpay.php?username=demo&qt=10abc&cd=20252345311234"
            "&time=2025/3/7&password=demo123");
  EXPECT_EQ(updateProfileUrl(kService, "demo", "pw", "0", "0", "demo&123"),
            "http://127.0.0.1:8765/E/qx/update.php?username=demo&password=pw&email=0&d2=0"
            "&oldpassword=demo%26123");
  EXPECT_EQ(depositAddressUrl(kService), "http://127.0.0.1:8765/E/qx/getadd.php");
  // A service on the internet, reached over TLS.
  EXPECT_EQ(loginUrl({"https", "sms.example.net"}, "demo", "demo123"),
            "https://sms.example.net/E/qx/login.php?username=demo&password=demo123");
}

TEST(Requests, ValuesCannotCutOrAddFields) {
  EXPECT_EQ(loginUrl(kService, "a b", "p&admin=1#x"),
            "http://127.0.0.1:8765/E/qx/login.php?username=a%20b&password=p%26admin%3D1%23x");
  EXPECT_EQ(encodeQueryValue("50%+1"), "50%25%2B1");
  EXPECT_EQ(encodeQueryValue("user@mail.com"), "user%40mail.com");
  // What needs no encoding goes out as typed, the date's slashes included.
  EXPECT_EQ(encodeQueryValue("AZaz09-._~/"), "AZaz09-._~/");
  EXPECT_EQ(encodeQueryValue(""), "");
}

TEST(Requests, GbkBytesKeepTheirValues) {
  EXPECT_EQ(encodeQueryValue(gbk(u8"张三")), "%D5%C5%C8%FD");
  EXPECT_EQ(encodeQueryValue(std::string("\x00\xff", 2)), "%00%FF");
}

}  // namespace
}  // namespace velmora::protocol
