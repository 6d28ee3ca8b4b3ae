// What an operator gives the service to resell a provider's numbers: the projects file, the key
// file and the provider's address, and the messages that name what is wrong in them.
#include "service/numbers/upstream_config.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/service/service_test_support.h"

namespace velmora::service {
namespace {

using std::filesystem::perms;

// The message of the UpstreamConfigError that `read` throws; empty when it throws none.
template <typename Read>
std::string refusal(Read read) {
  try {
    read();
  } catch (const UpstreamConfigError& error) {
    return error.what();
  }
  return {};
}

std::string written(const testing::TemporaryFolder& folder, const std::string& text,
                    perms mode = perms::owner_read | perms::owner_write) {
  const std::string path = folder.path("file").string();
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  std::filesystem::permissions(path, mode);
  return path;
}

TEST(UpstreamConfigTest, ProjectsFileReadInItsOrder) {
  const testing::TemporaryFolder folder;
  const UpstreamCatalogue catalogue = readUpstreamProjects(written(folder, R"({
    "projects": [
      {"name": "微信", "service": "wx", "country": 3, "price": "1.2", "max_price": "0.5"},
      {"max_price": "12.345", "price": "0", "country": 0, "service": "tg", "name": "Telegram"},
      {"name": "抖音", "service": "any_other", "country": 2147483647, "price": "10.05"}
    ],
    "operators": {"中国移动号段": "cmcc", "中国联通": "unicom", "电信": "ctc"}
  })"));
  ASSERT_EQ(catalogue.projects.size(), 3u);
  const UpstreamProject& wechat = catalogue.projects[0];
  EXPECT_EQ(wechat.name, "微信");
  EXPECT_EQ(wechat.service, "wx");
  EXPECT_EQ(wechat.country, 3);
  EXPECT_EQ(wechat.price, "1.20");
  EXPECT_EQ(wechat.maxPrice, "0.5");
  EXPECT_EQ(catalogue.projects[1].name, "Telegram");
  EXPECT_EQ(catalogue.projects[1].price, "0.00");
  EXPECT_EQ(catalogue.projects[1].maxPrice, "12.345");
  EXPECT_EQ(catalogue.projects[2].country, 2147483647);
  EXPECT_EQ(catalogue.projects[2].maxPrice, "");
  EXPECT_EQ(catalogue.project("抖音"), &catalogue.projects[2]);
  EXPECT_EQ(catalogue.project("抖"), nullptr);
  using Operators = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(catalogue.operators,
            (Operators{{"中国移动号段", "cmcc"}, {"中国联通", "unicom"}, {"电信", "ctc"}}));
  EXPECT_EQ(catalogue.providerOperator("中国联通"), "unicom");
  EXPECT_EQ(catalogue.providerOperator("移动"), "");
  EXPECT_EQ(catalogue.providerOperator(""), "");
  const std::string bare = written(
      folder, R"({"projects": [{"name": "a", "service": "s", "country": 0, "price": "1"}]})");
  EXPECT_TRUE(readUpstreamProjects(bare).operators.empty());
}

TEST(UpstreamConfigTest, ProjectsFileFaultsAreNamed) {
  const struct {
    const char* text;
    const char* fragment;
  } files[] = {
      {"", "not JSON: parse error at line 1, column 1"},
      {"{\"projects\": [\n{\"name\" \"a\"}]}", "not JSON: parse error at line 2, column 11"},
      {"{\"projects\": [{\"name\": \"\xE5\xBE\"}]}", "not JSON"},
      {"[]", "must be a JSON object"},
      {"{}", "\"projects\" must be a list of at least one project"},
      {R"({"projects": []})", "\"projects\" must be a list"},
      {R"({"projects": {}})", "\"projects\" must be a list"},
      {R"({"projects": [1]})", "projects[0]: is not an object"},
      {R"({"project": [1]})", "unknown key \"project\""},
      {R"({"projects": [1], "projects": [2]})", "the key \"projects\" is given twice"},
  };
  const struct {
    const char* fields;  // of the second project, after a good first one
    const char* fragment;
  } projects[] = {
      {R"("nme": "a", "service": "s", "country": 0, "price": "1")",
       "projects[1]: unknown key \"nme\""},
      {R"("name": "a", "service": "s", "country": 0, "price": "1", "maxprice": "1")",
       "projects[1] (\"a\"): unknown key \"maxprice\""},
      {R"("service": "s", "country": 0, "price": "1")", "projects[1]: no \"name\""},
      {R"("name": 5, "service": "s", "country": 0, "price": "1")", "\"name\" must be a text"},
      {R"("name": "", "service": "s", "country": 0, "price": "1")", "\"name\" is empty"},
      {R"("name": "a,b", "service": "s", "country": 0, "price": "1")", "splits the project list"},
      {R"("name": "a-b", "service": "s", "country": 0, "price": "1")", "splits the project list"},
      {R"("name": "😀", "service": "s", "country": 0, "price": "1")", "GBK"},
      {R"("name": "a\u001b[2J", "service": "s", "country": 0, "price": "1")",
       "(\"a\\u001b[2J\"): \"name\" holds a control character"},
      {R"("name": "微信", "service": "s", "country": 0, "price": "1")",
       "projects[1] (\"微信\"): \"name\" is projects[0]'s too"},
      {R"("name": "a", "name": "b", "service": "s", "country": 0, "price": "1")", "given twice"},
      {R"("name": "a", "country": 0, "price": "1")", "(\"a\"): no \"service\""},
      {R"("name": "a", "service": "", "country": 0, "price": "1")", "\"service\" must be"},
      {R"("name": "a", "service": "w&x", "country": 0, "price": "1")", "\"service\" must be"},
      {R"("name": "a", "service": "s", "price": "1")", "no \"country\""},
      {R"("name": "a", "service": "s", "country": -1, "price": "1")", "\"country\" must be"},
      {R"("name": "a", "service": "s", "country": 1.5, "price": "1")", "\"country\" must be"},
      {R"("name": "a", "service": "s", "country": "3", "price": "1")", "\"country\" must be"},
      {R"("name": "a", "service": "s", "country": 2147483648, "price": "1")",
       "\"country\" must be"},
      {R"("name": "a", "service": "s", "country": 18446744073709551615, "price": "1")",
       "\"country\" must be"},
      {R"("name": "a", "service": "s", "country": 0)", "no \"price\""},
      {R"("name": "a", "service": "s", "country": 0, "price": 1.2)", "\"price\" must be a text"},
      {R"("name": "a", "service": "s", "country": 0, "price": "1.234")", "\"price\" must be an"},
      {R"("name": "a", "service": "s", "country": 0, "price": "-1")", "\"price\" must be an"},
      {R"("name": "a", "service": "s", "country": 0, "price": "1", "max_price": 0.5)",
       "\"max_price\" must be a text"},
      {R"("name": "a", "service": "s", "country": 0, "price": "1", "max_price": "")",
       "\"max_price\" must be a decimal"},
      {R"("name": "a", "service": "s", "country": 0, "price": "1", "max_price": "0.")",
       "\"max_price\" must be a decimal"},
      {R"("name": "a", "service": "s", "country": 0, "price": "1", "max_price": "1e3")",
       "\"max_price\" must be a decimal"},
  };
  const char* const kGoodProject =
      R"({"name": "微信", "service": "wx", "country": 3, "price": "1.20"})";
  const char* const operators[][2] = {
      {R"([])", "\"operators\" must be an object"},
      {R"({"移动": 1})", "operator \"移动\": must map to the provider's code"},
      {R"({"移动": "c mcc"})", "operator \"移动\": must map to the provider's code"},
      {R"({"": "cmcc"})", "operator \"\": the client cannot send this text"},
      {R"({"a": "x", "a": "y"})", "the key \"a\" is given twice"},
  };
  std::vector<std::pair<std::string, std::string>> rows;
  for (const auto& file : files) rows.emplace_back(file.text, file.fragment);
  for (const auto& project : projects) {
    rows.emplace_back(
        std::string(R"({"projects": [)") + kGoodProject + ", {" + project.fields + "}]}",
        project.fragment);
  }
  for (const auto& row : operators) {
    rows.emplace_back(
        std::string(R"({"projects": [)") + kGoodProject + R"(], "operators": )" + row[0] + "}",
        row[1]);
  }
  const testing::TemporaryFolder folder;
  for (const auto& [text, fragment] : rows) {
    const std::string path = written(folder, text);
    const std::string message = refusal([&] { readUpstreamProjects(path); });
    EXPECT_TRUE(message.starts_with("the projects file " + path)) << text;
    EXPECT_NE(message.find(fragment), std::string::npos) << text << "\n" << message;
  }
  EXPECT_NE(refusal([&] {
              readUpstreamProjects(folder.path("none").string());
            }).find("none: cannot be read: No such file"),
            std::string::npos);
  EXPECT_NE(refusal([&] {
              readUpstreamProjects(folder.path("").string());
            }).find("is not a regular file"),
            std::string::npos);
}

TEST(UpstreamConfigTest, KeyFileIsReadWhenItIsTheOwnersAlone) {
  const perms kOwner = perms::owner_read | perms::owner_write;
  const struct {
    perms mode;
    const char* text;
    const char* result;  // the key, or a fragment of the refusal
  } rows[] = {
      {kOwner, "k3y-S3cret\nsecond line\n", "k3y-S3cret"},
      {perms::owner_read, "k3y-S3cret", "k3y-S3cret"},
      {kOwner, "k3y-S3cret\r\n", "k3y-S3cret"},
      {kOwner | perms::group_read, "k3y-S3cret\n", "(mode 0640); keep it to its owner: chmod 600"},
      {kOwner | perms::group_read | perms::others_read, "k3y-S3cret\n", "(mode 0644)"},
      {kOwner | perms::others_read, "k3y-S3cret\n", "(mode 0604)"},
      {kOwner | perms::group_write, "k3y-S3cret\n", "(mode 0620)"},
      {kOwner, "", "holds no key on its first line"},
      {kOwner, "\r\nk3y-S3cret\n", "holds no key on its first line"},
      {kOwner, "k3y-S3cret \n", "holds a space or control character"},
      {kOwner, "k3y-S3cret\t1\n", "holds a space or control character"},
  };
  const testing::TemporaryFolder folder;
  for (const auto& row : rows) {
    const std::string path = written(folder, row.text, row.mode);
    std::string key;
    const std::string message = refusal([&] { key = readUpstreamKey(path); });
    if (message.empty()) {
      EXPECT_EQ(key, row.result);
    } else {
      EXPECT_TRUE(message.starts_with("the key file " + path + ": ")) << message;
      EXPECT_NE(message.find(row.result), std::string::npos) << message;
      EXPECT_EQ(message.find("S3cret"), std::string::npos) << message;
    }
  }
  EXPECT_NE(refusal([&] {
              readUpstreamKey(folder.path("none").string());
            }).find("the key file " + folder.path("none").string() + ": cannot be read"),
            std::string::npos);
}

TEST(UpstreamConfigTest, ProviderAddress) {
  for (const char* url :
       {"https://sms.example.com/stubs/handler_api.php", "HTTPS://h", "https://h:8443/x",
        "https://[2001:db8::1]/x", "http://127.0.0.1:9000/stubs/handler_api.php",
        "http://127.5.6.7/h", "http://[::1]:80/h", "http://localhost/h", "http://LocalHost:1/"}) {
    EXPECT_EQ(refusal([&] { checkUpstreamUrl(url); }), "") << url;
  }
  const struct {
    const char* url;
    const char* fragment;
  } refused[] = {
      {"ftp://h/x", "must begin with https://"},
      {"sms.example.com/x", "must begin with https://"},
      {"http://example.com/h", "uses http:// to example.com"},
      {"http://127.0.0.1.example.com/", "uses http:// to"},
      {"http://localhost.example.com/", "uses http:// to"},
      {"http://128.0.0.1/", "uses http:// to"},
      {"http://0177.0.0.1/", "uses http:// to"},
      {"http://[::2]/", "uses http:// to"},
      {"https://h/x?api_key=S3cret", "holds \"?\" or \"#\""},
      {"https://h/x#S3cret", "holds \"?\" or \"#\""},
      {"https://user:S3cret@h/x", "holds credentials"},
      {"https://S3cret@127.0.0.1/x", "holds credentials"},
      {"https:///x", "names no host"},
      {"https://[::1/x", "names no host"},
      {"https://h_1/x", "names no host"},
      {"https://h:0/", "port"},
      {"https://h:65536/", "port"},
      {"https://h:/", "port"},
      {"https://h:x/", "port"},
      {"https://[::1]x/", "port"},
      {"https://h/a b", "holds a space or control character"},
      {"", "must begin with https://"},
  };
  for (const auto& row : refused) {
    const std::string message = refusal([&] { checkUpstreamUrl(row.url); });
    EXPECT_TRUE(message.starts_with("the upstream address: ")) << row.url;
    EXPECT_NE(message.find(row.fragment), std::string::npos) << row.url << "\n" << message;
    EXPECT_EQ(message.find("S3cret"), std::string::npos) << message;
  }
}

}  // namespace
}  // namespace velmora::service
