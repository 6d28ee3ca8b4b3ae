// Reading what a provider answers, apart from how the answer came: each reader takes the body as
// it arrived, whatever the HTTP status, and never fails. A body is read without the whitespace
// and line ends around it (and a UTF-8 byte order mark before it); its word is what comes before
// the first ":", matched whole, and what follows that ":" is the word's payload, split no further
// unless the word has two parts. Any step may also be answered with the provider's general
// refusals, BAD_KEY, BAD_ACTION and ERROR_SQL; a word of another step is kUnknown. Every text a
// reader returns is one line of UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/numbers/provider.h"

namespace velmora::service {

// getBalance: kAccessBalance with a decimal amount, kBadKey, or kUnknown.
BalanceAnswer readBalanceAnswer(std::string_view body);

// getNumber: kAccessNumber with the id and the phone's digits, one of its refusals (kBanned and
// kWrongMaxPrice with their payload), or kUnknown.
GrantAnswer readGrantAnswer(std::string_view body);

// getStatus: one of the states (kStatusOk with its code, kStatusWaitRetry with the last code),
// kNoActivation, or kUnknown. smsText is left empty: it comes from getStatusV2.
StatusAnswer readStatusAnswer(std::string_view body);

// setStatus: what the provider did with the step, or kUnknown.
ProviderWord readStepAnswer(std::string_view body);

// getStatusV2: the SMS's whole text, from the JSON's sms.text; nothing when the body is no such
// JSON (a word such as BAD_ACTION, no SMS yet, an empty text).
std::optional<std::string> readSmsText(std::string_view body);

// getPrices: the cost and count of `service` in `country` from the JSON
// {"COUNTRY": {"SERVICE": {"cost": .., "count": ..}}}; read is false when they are not there.
PriceAnswer readPriceAnswer(std::string_view body, std::string_view service, int country);

// Bytes from a provider as one line of UTF-8: a byte that is not UTF-8 becomes U+FFFD, a control
// character a space, and the spaces around it are dropped.
std::string oneLineText(std::string_view bytes);

}  // namespace velmora::service
