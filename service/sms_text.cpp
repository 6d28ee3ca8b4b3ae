#include "service/sms_text.h"

#include <algorithm>
#include <array>

namespace velmora::service {

namespace {

// "{p}" stands for the project, "{c}" for the code.
constexpr std::array<std::string_view, 4> kChineseWordings{
    "【{p}】您的验证码是 {c}，5分钟内有效，请勿泄露给他人。",
    "【{p}】验证码：{c}。您正在登录{p}，切勿将验证码告诉他人，以防账号被盗。",
    "【{p}】{c}（动态验证码），10分钟内有效。如非本人操作，请忽略本短信。",
    "【{p}】您正在注册{p}账号，验证码为{c}，有效期5分钟，请勿转发。",
};

constexpr std::array<std::string_view, 3> kEnglishWordings{
    "[{p}] Your login code is {c}. Do not share it.",
    "[{p}] {c} is your verification code. It expires in 10 minutes.",
    "[{p}] Your verification code: {c}. Never share this code with anyone.",
};

bool latinName(std::string_view project) {
  return std::all_of(project.begin(), project.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string filledIn(std::string_view wording, std::string_view project, std::string_view code) {
  std::string text;
  for (size_t at = 0; at < wording.size(); ++at) {
    const std::string_view rest = wording.substr(at);
    if (rest.starts_with("{p}") || rest.starts_with("{c}")) {
      text += rest[1] == 'p' ? project : code;
      at += 2;
    } else {
      text += wording[at];
    }
  }
  return text;
}

}  // namespace

std::string smsText(std::string_view project, std::string_view code, unsigned wording) {
  if (latinName(project)) {
    return filledIn(kEnglishWordings[wording % kEnglishWordings.size()], project, code);
  }
  return filledIn(kChineseWordings[wording % kChineseWordings.size()], project, code);
}

}  // namespace velmora::service
