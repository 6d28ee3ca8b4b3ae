// The verification code in an SMS, for the copy-code button: the 4 to 8 digits that follow a
// word such as "验证码" or "code", or failing that the first run of 4 to 8 digits standing alone.
#pragma once

#include <string>
#include <string_view>

namespace velmora::protocol {

// The code as ASCII digits (full-width digits count as digits); empty when the SMS holds none.
// The SMS is local text (GBK).
std::string verificationCode(std::string_view sms);

}  // namespace velmora::protocol
