#include "service/seed_data.h"

#include <array>

namespace velmora::service {

const Account& demoAccount() {
  static const Account account{
      .name = "demo",
      .password = "demo123",
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

}  // namespace velmora::service
