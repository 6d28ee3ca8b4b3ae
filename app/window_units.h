// The windows and units the client's handlers use, by their ids in the window data. The unit's
// name in the window data stands in the comment.
#pragma once

#include <cstdint>

namespace velmora::app {

struct UnitRef {
  uint32_t window;
  uint32_t unit;
};

namespace login {
inline constexpr uint32_t kWindow = 0x52010001;
inline constexpr UnitRef kUserName{kWindow, 0x16012F9E};        // 用户名
inline constexpr UnitRef kPassword{kWindow, 0x16012F9F};        // 密码
inline constexpr UnitRef kSupportContact{kWindow, 0x16012BE9};  // kf1
}  // namespace login

namespace registration {
inline constexpr uint32_t kWindow = 0x52012B38;
inline constexpr UnitRef kUserName{kWindow, 0x16012F68};       // 用户名
inline constexpr UnitRef kPassword{kWindow, 0x16012F66};       // 密码
inline constexpr UnitRef kPasswordAgain{kWindow, 0x16012F64};  // 密码1
inline constexpr UnitRef kEmail{kWindow, 0x16012F62};          // 邮箱
}  // namespace registration

namespace profile {
inline constexpr uint32_t kWindow = 0x52012C48;
inline constexpr UnitRef kUser{kWindow, 0x16012F4D};      // 用户
inline constexpr UnitRef kPassword{kWindow, 0x16012F50};  // 密码
inline constexpr UnitRef kEmail{kWindow, 0x16012F4E};     // 邮箱
inline constexpr UnitRef kAddress{kWindow, 0x16012F4B};   // 地址
}  // namespace profile

namespace main_window {
inline constexpr uint32_t kWindow = 0x52012C57;
inline constexpr UnitRef kUserName{kWindow, 0x16012FAE};        // 用户名
inline constexpr UnitRef kBalance{kWindow, 0x16012FB0};         // my
inline constexpr UnitRef kSupportContact{kWindow, 0x16012FC0};  // kf1
inline constexpr UnitRef kProjects{kWindow, 0x16012D3E};        // 组合框1
inline constexpr UnitRef kKeyword{kWindow, 0x16012D80};         // 搜
inline constexpr UnitRef kProjectName{kWindow, 0x16012D3F};     // 项目名称
inline constexpr UnitRef kUnitPrice{kWindow, 0x16012D40};       // 单价
inline constexpr UnitRef kRegions{kWindow, 0x16012D44};         // 组合框2
inline constexpr UnitRef kRegion{kWindow, 0x16012D47};          // 地区
inline constexpr UnitRef kOperators{kWindow, 0x16012D49};       // 组合框3
inline constexpr UnitRef kOperator{kWindow, 0x16012D4B};        // 号段
inline constexpr UnitRef kAutoCode{kWindow, 0x16012D63};        // 选择框1
inline constexpr UnitRef kCopyCode{kWindow, 0x16012D64};        // 复2
inline constexpr UnitRef kNumber{kWindow, 0x16012F3E};          // 标签14
inline constexpr UnitRef kSms{kWindow, 0x16012D5A};             // 编辑框1
}  // namespace main_window

namespace top_up {
inline constexpr uint32_t kWindow = 0x52012D7A;
inline constexpr UnitRef kBalance{kWindow, 0x16012EB6};         // my
inline constexpr UnitRef kUserName{kWindow, 0x16012EBA};        // 用户名
inline constexpr UnitRef kAmount{kWindow, 0x16012EB8};          // 数量
inline constexpr UnitRef kOrderUser{kWindow, 0x16012ED6};       // j户
inline constexpr UnitRef kOrderAmount{kWindow, 0x16012ED7};     // j量
inline constexpr UnitRef kOrderTime{kWindow, 0x16012ED8};       // tm
inline constexpr UnitRef kOrderNumber{kWindow, 0x16012ED9};     // j单号
inline constexpr UnitRef kOrderFrame{kWindow, 0x16012F25};      // 外形框1
inline constexpr UnitRef kDeleteOrder{kWindow, 0x16012F01};     // 删
inline constexpr UnitRef kDepositAddress{kWindow, 0x16012EAF};  // ad
inline constexpr UnitRef kSupportContact{kWindow, 0x16012E85};  // kf1
}  // namespace top_up

namespace promotion {
inline constexpr uint32_t kWindow = 0x52012E18;
inline constexpr UnitRef kInvitationCode{kWindow, 0x16012E60};  // 请码
}  // namespace promotion

namespace api {
inline constexpr uint32_t kWindow = 0x52012E1A;
inline constexpr UnitRef kAddress{kWindow, 0x16012F89};         // 编辑框1
inline constexpr UnitRef kPythonSample{kWindow, 0x16012F7F};    // 代1
inline constexpr UnitRef kJavaSample{kWindow, 0x16012F78};      // 代2
inline constexpr UnitRef kJsSample{kWindow, 0x16012F7A};        // 代3
inline constexpr UnitRef kCppSample{kWindow, 0x16012F79};       // 代4
inline constexpr UnitRef kSupportContact{kWindow, 0x16012FCF};  // kf
}  // namespace api

}  // namespace velmora::app
