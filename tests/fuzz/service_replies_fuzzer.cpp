// Fuzzes the reading of the service's replies, as local text, the way the handlers read them:
// the login record and its failure number, the status replies, the project list and its items,
// the pending order for an account name, and the verification code in an SMS.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/protocol/replies.h"
#include "app/protocol/verification_code.h"

// Input: the length of the account name (first byte, up to 15), the name, the reply.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora::protocol;
  if (size < 1) return 0;
  const size_t nameLength = data[0] % 16;
  if (size < 1 + nameLength) return 0;
  const std::string name(reinterpret_cast<const char*>(data + 1), nameLength);
  // Texts end at their first zero byte, as the runtime's texts do.
  const std::string reply(
      std::string(reinterpret_cast<const char*>(data + 1 + nameLength), size - 1 - nameLength)
          .c_str());

  isLoginFailure(reply.c_str());
  if (const auto record = readAccountRecord(reply.c_str())) {
    if (record->size() != 8) __builtin_trap();
  }
  readRegistrationStatus(reply.c_str());
  for (const std::string& item : readProjectList(reply.c_str())) readProjectItem(item.c_str());
  // An order is only ever read from a record with separators.
  const auto order = readPendingOrder(reply.c_str(), std::string(name.c_str()));
  if (order && reply.find('-') == std::string::npos) __builtin_trap();
  // A code is at most eight ASCII letters and digits, whatever the SMS holds.
  if (const auto sms = readSms(reply.c_str())) {
    const std::string code = verificationCode(*sms);
    if (code.size() > 8) __builtin_trap();
    for (const char c : code) {
      if (!isalnum(static_cast<unsigned char>(c))) __builtin_trap();
    }
  }
  // A held number is never empty: the client would show and poll nothing.
  const auto held = readHeldNumber(reply.c_str());
  if (held && held->number.empty()) __builtin_trap();
  return 0;
}
