// The service's endpoints against a scratch store and a clock the test moves, with queries
// encoded as their callers send them and answered as the server answers them. Every test runs on
// a SQLite file and on a PostgreSQL database.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "service/database.h"
#include "service/number_desk.h"
#include "service/request_answer.h"
#include "tests/service/scratch_store.h"
#include "tests/service/service_test_support.h"

namespace velmora::service {

// Pieces of a reply as the client splits it: an empty last piece is dropped.
std::vector<std::string> pieces(const std::string& reply, char separator);

// The parameter of the tests on both stores, and their names.
inline const auto kBothStores = ::testing::Values(StoreKind::kSqlite, StoreKind::kPostgres);
inline std::string storeTestName(const ::testing::TestParamInfo<StoreKind>& info) {
  return storeName(info.param);
}

class EndpointTest : public ::testing::TestWithParam<StoreKind> {
 protected:
  EndpointTest() { open(); }

  // Opens the database at `location`, again after the first time, as a restarted service does;
  // with `upstream`, numbers come from that provider.
  void open(NumberTimes times = {}, std::optional<Upstream> upstream = std::nullopt);
  void pass(std::chrono::milliseconds time) { now += time.count(); }

  // A text endpoint; `parameters` are written in UTF-8 and go out as percent-encoded GBK.
  std::string ask(std::string_view file,
                  std::initializer_list<std::pair<std::string, std::u8string>> parameters = {});
  std::string askRaw(std::string_view file, std::string_view query);
  // The JSON API with a query as URL libraries send it.
  std::string askApi(std::string_view query);

  std::string login(std::u8string name, std::u8string password);
  std::string registerUser(std::u8string name, std::u8string password = u8"secret",
                           std::u8string email = u8"");
  std::string submitOrder(std::u8string user, std::u8string amount,
                          std::u8string number = u8"2026512343217890",
                          std::u8string password = u8"demo123");
  // getpay.php or delpay.php.
  std::string onOrder(std::string_view file, std::u8string user = u8"demo",
                      std::u8string password = u8"demo123");
  // The balance field of the account's login record.
  std::string balance(std::u8string name = u8"demo", std::u8string password = u8"demo123");

  testing::TemporaryFolder folder;
  const ScratchStore store{GetParam()};
  std::string location = store.location();  // what open() opens
  Instant now = 1'800'000'000'000;
  // A desk as the provider's poller has, on the test's own connection.
  NumberDesk pollerDesk() { return NumberDesk(*database, *office); }

  std::unique_ptr<Database> database;  // the test's own connection
  std::unique_ptr<NumberOffice> office;
  std::unique_ptr<StorePool> stores;
  std::unique_ptr<RequestAnswerer> answerer;
};

}  // namespace velmora::service
