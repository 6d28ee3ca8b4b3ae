#include "service/seed_data.h"

#include <array>
#include <cstdio>
#include <random>
#include <set>
#include <string_view>

namespace velmora::service {

const Account& demoAccount() {
  static const Account account{
      .name = "demo",
      .balance = "12",
      .address = "TQn9Y2khEsLJW1ChVWFMSMeRDow5KcbLSE",
      .invitationCode = "VM8K2Q",
      .registrationCode = "20815",
      .registeredOn = "2026/1/1",
      .email = "demo@example.com",
  };
  return account;
}

std::span<const Project> demoProjects() {
  static const std::array<Project, 40> projects{{
      {"微信", "1.2"},     {"支付宝", "1.5"},   {"淘宝", "0.8"},       {"京东", "0.8"},
      {"抖音", "0.6"},     {"快手", "0.5"},     {"美团", "0.6"},       {"饿了么", "0.5"},
      {"拼多多", "0.7"},   {"小红书", "0.9"},   {"哔哩哔哩", "0.5"},   {"微博", "0.5"},
      {"QQ", "1.0"},       {"百度", "0.5"},     {"网易云音乐", "0.5"}, {"滴滴出行", "0.8"},
      {"高德地图", "0.5"}, {"携程旅行", "0.9"}, {"去哪儿旅行", "0.6"}, {"铁路12306", "1.2"},
      {"闲鱼", "0.6"},     {"唯品会", "0.5"},   {"苏宁易购", "0.5"},   {"知乎", "0.5"},
      {"豆瓣", "0.5"},     {"腾讯视频", "0.6"}, {"爱奇艺", "0.6"},     {"优酷视频", "0.5"},
      {"芒果TV", "0.5"},   {"今日头条", "0.5"}, {"西瓜视频", "0.5"},   {"陌陌", "0.8"},
      {"探探", "0.8"},     {"钉钉", "0.7"},     {"飞书", "0.7"},       {"企业微信", "1.5"},
      {"大众点评", "0.6"}, {"得物", "0.7"},     {"盒马鲜生", "0.5"},   {"Steam", "2.0"},
  }};
  return projects;
}

namespace {

// The provinces of the client's region list that have mainland numbers.
constexpr std::array<std::string_view, 31> kMainlandRegions{
    "安徽", "北京", "重庆", "福建", "广东", "甘肃", "广西", "贵州",   "湖北", "河北", "黑龙江",
    "海南", "湖南", "河南", "吉林", "江苏", "江西", "辽宁", "内蒙古", "宁夏", "青海", "四川",
    "山东", "上海", "陕西", "山西", "天津", "新疆", "西藏", "云南",   "浙江",
};

struct Carrier {
  std::string_view name;  // as the client's operator list has it
  std::span<const std::string_view> prefixes;
};

constexpr std::array<std::string_view, 20> kMobilePrefixes{
    "134", "135", "136", "137", "138", "139", "147", "150", "151", "152",
    "157", "158", "159", "178", "182", "183", "184", "187", "188", "198",
};
constexpr std::array<std::string_view, 11> kUnicomPrefixes{
    "130", "131", "132", "145", "155", "156", "166", "175", "176", "185", "186",
};
constexpr std::array<std::string_view, 10> kTelecomPrefixes{
    "133", "149", "153", "173", "177", "180", "181", "189", "191", "199",
};
constexpr std::array<std::string_view, 1> kBroadcastPrefixes{"192"};
constexpr std::array<std::string_view, 5> kVirtualPrefixes{"170", "171", "162", "165", "167"};

const std::array<Carrier, 5> kCarriers{{
    {"中国移动号段", kMobilePrefixes},
    {"中国联通号段", kUnicomPrefixes},
    {"中国电信号段", kTelecomPrefixes},
    {"广电号段", kBroadcastPrefixes},
    {"虚拟运营商号段", kVirtualPrefixes},
}};

constexpr unsigned kPoolSeed = 20260101;

}  // namespace

std::vector<PoolNumber> demoNumbers() {
  // mt19937's output is fixed by the standard, so every database gets the same pool.
  std::mt19937 generator(kPoolSeed);
  std::set<std::string> taken;
  std::vector<PoolNumber> pool;
  for (size_t region = 0; region < kMainlandRegions.size(); ++region) {
    for (const Carrier& carrier : kCarriers) {
      std::string number;
      do {
        char tail[16];
        std::snprintf(tail, sizeof tail, "%08u", static_cast<unsigned>(generator() % 100000000));
        number = std::string(carrier.prefixes[region % carrier.prefixes.size()]) + tail;
      } while (!taken.insert(number).second);
      pool.push_back({number, std::string(kMainlandRegions[region]), std::string(carrier.name)});
    }
  }
  return pool;
}

}  // namespace velmora::service
