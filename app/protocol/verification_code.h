// The verification code in an SMS, for the copy-code button: the code that stands beside a word
// such as "验证码", "口令" or "code", or failing that the first number that can only be a code.
// Dates (English ones too), times, amounts, card tails, phone numbers, order ids, the digits of a
// link and a sender's name never are.
#pragma once

#include <string>
#include <string_view>

namespace velmora::protocol {

// The code as ASCII (full-width digits and letters count as theirs); empty when the SMS holds
// none. The SMS is local text (GBK), read as far as it goes whatever its bytes.
std::string verificationCode(std::string_view sms);

}  // namespace velmora::protocol
