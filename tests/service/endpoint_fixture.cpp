#include "tests/service/endpoint_fixture.h"

#include "tests/support/gbk.h"

namespace velmora::service {

std::vector<std::string> pieces(const std::string& reply, char separator) {
  std::vector<std::string> result;
  size_t start = 0;
  for (size_t at; (at = reply.find(separator, start)) != std::string::npos; start = at + 1) {
    result.push_back(reply.substr(start, at - start));
  }
  if (start < reply.size()) result.push_back(reply.substr(start));
  return result;
}

void EndpointTest::open(NumberTimes times, std::optional<Upstream> upstream) {
  answerer.reset();
  stores.reset();
  office.reset();
  database.reset();
  database = std::make_unique<Database>(location);
  office = std::make_unique<NumberOffice>(
      times, [this] { return now; }, hashMatches, std::move(upstream));
  stores = std::make_unique<StorePool>(location);
  answerer = std::make_unique<RequestAnswerer>(*stores, *office);
}

std::string EndpointTest::ask(
    std::string_view file,
    std::initializer_list<std::pair<std::string, std::u8string>> parameters) {
  std::string query;
  for (const auto& [name, value] : parameters) {
    if (!query.empty()) query += '&';
    query += name + "=" + testing::percentEncoded(testing::gbk(value));
  }
  return askRaw(file, query);
}

std::string EndpointTest::askRaw(std::string_view file, std::string_view query) {
  const Reply reply = answerer->answer("/E/qx/" + std::string(file) + "?" + std::string(query));
  if (reply.status == 404) return "<no endpoint>";
  return reply.status == 200 ? reply.body : "<status " + std::to_string(reply.status) + ">";
}

std::string EndpointTest::askApi(std::string_view query) {
  return askRaw("Api_PC", query);
}

std::string EndpointTest::login(std::u8string name, std::u8string password) {
  return ask("login.php", {{"username", name}, {"password", password}});
}

std::string EndpointTest::registerUser(std::u8string name, std::u8string password,
                                       std::u8string email) {
  return ask("restuser.php",
             {{"username", name}, {"password", password}, {"sj", u8"23456"}, {"email", email}});
}

std::string EndpointTest::submitOrder(std::u8string user, std::u8string amount,
                                      std::u8string number, std::u8string password) {
  return ask("restpay.php", {{"username", user},
                             {"qt", amount},
                             {"cd", number},
                             {"time", u8"2026/5/7"},
                             {"password", password}});
}

std::string EndpointTest::onOrder(std::string_view file, std::u8string user,
                                  std::u8string password) {
  return ask(file, {{"username", user}, {"password", password}});
}

std::string EndpointTest::balance(std::u8string name, std::u8string password) {
  const std::vector<std::string> fields = pieces(login(name, password), ',');
  return fields.size() > 2 ? fields[2] : "<no login>";
}

}  // namespace velmora::service
