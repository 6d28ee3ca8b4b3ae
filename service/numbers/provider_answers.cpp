#include "service/numbers/provider_answers.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <nlohmann/json.hpp>

namespace velmora::service {

namespace {

// What may follow a word's ":".
enum class Payload {
  kNone,      // the word stands alone
  kRequired,  // a ":" and something after it
  kOptional,
};

struct WordShape {
  ProviderWord word;
  std::string_view text;
  Payload payload = Payload::kNone;
};

constexpr WordShape kWordShapes[] = {
    {ProviderWord::kAccessBalance, "ACCESS_BALANCE", Payload::kRequired},
    {ProviderWord::kAccessNumber, "ACCESS_NUMBER", Payload::kRequired},
    {ProviderWord::kNoNumbers, "NO_NUMBERS"},
    {ProviderWord::kNoBalance, "NO_BALANCE"},
    {ProviderWord::kBadService, "BAD_SERVICE"},
    {ProviderWord::kBadKey, "BAD_KEY"},
    {ProviderWord::kBadAction, "BAD_ACTION"},
    {ProviderWord::kErrorSql, "ERROR_SQL"},
    {ProviderWord::kBanned, "BANNED", Payload::kOptional},
    {ProviderWord::kWrongMaxPrice, "WRONG_MAX_PRICE", Payload::kOptional},
    {ProviderWord::kStatusWaitCode, "STATUS_WAIT_CODE"},
    {ProviderWord::kStatusWaitRetry, "STATUS_WAIT_RETRY", Payload::kOptional},
    {ProviderWord::kStatusWaitResend, "STATUS_WAIT_RESEND"},
    {ProviderWord::kStatusOk, "STATUS_OK", Payload::kRequired},
    {ProviderWord::kStatusCancel, "STATUS_CANCEL"},
    {ProviderWord::kNoActivation, "NO_ACTIVATION"},
    {ProviderWord::kAccessRetryGet, "ACCESS_RETRY_GET"},
    {ProviderWord::kAccessActivation, "ACCESS_ACTIVATION"},
    {ProviderWord::kAccessCancel, "ACCESS_CANCEL"},
    {ProviderWord::kEarlyCancelDenied, "EARLY_CANCEL_DENIED"},
    {ProviderWord::kBadStatus, "BAD_STATUS"},
    {ProviderWord::kAlreadyFinish, "ALREADY_FINISH"},
    {ProviderWord::kAlreadyCancel, "ALREADY_CANCEL"},
};

const WordShape* shapeOf(ProviderWord word) {
  for (const WordShape& shape : kWordShapes) {
    if (shape.word == word) return &shape;
  }
  return nullptr;
}

// A body as the words are read from it: without surrounding whitespace and a leading UTF-8 byte
// order mark, which some handler pages write before their text.
std::string_view trimmed(std::string_view body) {
  constexpr std::string_view kWhitespace = " \t\r\n\v\f";
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  const size_t first = body.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  body = body.substr(first, body.find_last_not_of(kWhitespace) - first + 1);
  if (body.starts_with(kByteOrderMark)) return trimmed(body.substr(kByteOrderMark.size()));
  return body;
}

struct Reading {
  ProviderWord word = ProviderWord::kUnknown;
  std::string_view payload;  // what follows the first ":"
};

// The body's word if it is one of `expected` and has the payload that word takes; kUnknown
// otherwise. Every step may also be answered with the provider's general refusals.
Reading readWord(std::string_view body, std::initializer_list<ProviderWord> expected) {
  const std::string_view text = trimmed(body);
  const size_t colon = text.find(':');
  const std::string_view token = text.substr(0, colon);
  const std::string_view payload =
      colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  const auto general = {ProviderWord::kBadKey, ProviderWord::kBadAction, ProviderWord::kErrorSql};
  for (const auto& words : {expected, general}) {
    for (const ProviderWord word : words) {
      const WordShape& shape = *shapeOf(word);
      if (token != shape.text) continue;
      const bool fits = shape.payload == Payload::kOptional ||
                        (shape.payload == Payload::kNone && colon == std::string_view::npos) ||
                        (shape.payload == Payload::kRequired && !trimmed(payload).empty());
      return fits ? Reading{word, payload} : Reading{};
    }
  }
  return {};
}

bool allDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// An amount as providers write it: "12", "12.5", "-0.40".
bool isDecimal(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  const size_t point = text.find('.');
  if (point == std::string_view::npos) return allDigits(text);
  return allDigits(text.substr(0, point)) && allDigits(text.substr(point + 1));
}

// Ids are numbers that may not fit 64 bits either; this bound only keeps junk out.
constexpr size_t kMaxIdDigits = 40;
constexpr size_t kMaxPhoneDigits = 32;

// The length of the UTF-8 sequence at the start of `bytes`, and its code point; 0 when it is not
// one (cut short, overlong, a surrogate, beyond U+10FFFF).
size_t utf8Sequence(std::string_view bytes, char32_t& codePoint) {
  const auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
  const unsigned char lead = byte(0);
  size_t length = 0;
  char32_t lowest = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, lowest = 0x80, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, lowest = 0x800, codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, lowest = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  for (size_t at = 1; at < length; ++at) {
    if ((byte(at) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(at) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  if (codePoint < lowest || surrogate || codePoint > 0x10FFFF) return 0;
  return length;
}

std::string oneLine(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  while (!bytes.empty()) {
    char32_t codePoint = 0;
    const size_t length = utf8Sequence(bytes, codePoint);
    if (length == 0) {
      text += "\xEF\xBF\xBD";
    } else if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F)) {
      text += ' ';
    } else {
      text += bytes.substr(0, length);
    }
    bytes.remove_prefix(std::max<size_t>(length, 1));
  }
  return text;
}

// An object member, or nothing when `value` is no object or has no such member.
const nlohmann::json* member(const nlohmann::json& value, const std::string& name) {
  if (!value.is_object()) return nullptr;
  const auto found = value.find(name);
  return found == value.end() ? nullptr : &*found;
}

std::optional<nlohmann::json> parsedJson(std::string_view body) {
  nlohmann::json value = nlohmann::json::parse(body, nullptr, false);
  if (value.is_discarded()) return std::nullopt;
  return value;
}

// A cost as a number or a text of one, written as a decimal: "1.2" for 1.2, the shortest text
// that reads back.
std::optional<std::string> costText(const nlohmann::json& cost) {
  std::string text;
  if (cost.is_number()) text = cost.dump();
  if (cost.is_string()) text = cost.get<std::string>();
  if (!isDecimal(text)) return std::nullopt;
  return text;
}

// A stock: a whole number, or a text of one, that is not negative.
std::optional<long long> countValue(const nlohmann::json& count) {
  constexpr size_t kMaxCountDigits = 18;  // fits in a long long
  if (count.is_number_unsigned() && count.get<uint64_t>() <= INT64_MAX) {
    return count.get<long long>();
  }
  if (count.is_string() && allDigits(count.get<std::string>()) &&
      count.get<std::string>().size() <= kMaxCountDigits) {
    return std::stoll(count.get<std::string>());
  }
  return std::nullopt;
}

}  // namespace

std::string_view providerWordText(ProviderWord word) {
  if (word == ProviderWord::kNoAnswer) return "no answer";
  const WordShape* shape = shapeOf(word);
  return shape ? shape->text : "unknown answer";
}

std::string oneLineText(std::string_view bytes) {
  const std::string text = oneLine(bytes);
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

BalanceAnswer readBalanceAnswer(std::string_view body) {
  const Reading reading = readWord(body, {ProviderWord::kAccessBalance});
  if (reading.word != ProviderWord::kAccessBalance) return {reading.word, {}};
  const std::string_view amount = trimmed(reading.payload);
  if (!isDecimal(amount)) return {ProviderWord::kUnknown, {}};
  return {reading.word, std::string(amount)};
}

GrantAnswer readGrantAnswer(std::string_view body) {
  const Reading reading = readWord(
      body, {ProviderWord::kAccessNumber, ProviderWord::kNoNumbers, ProviderWord::kNoBalance,
             ProviderWord::kBadService, ProviderWord::kBanned, ProviderWord::kWrongMaxPrice});
  GrantAnswer answer;
  answer.word = reading.word;
  if (reading.word == ProviderWord::kBanned || reading.word == ProviderWord::kWrongMaxPrice) {
    answer.detail = oneLineText(reading.payload);
  }
  if (reading.word != ProviderWord::kAccessNumber) return answer;
  const size_t colon = reading.payload.find(':');
  const std::string_view id = trimmed(reading.payload.substr(0, colon));
  std::string_view phone = colon == std::string_view::npos
                               ? std::string_view()
                               : trimmed(reading.payload.substr(colon + 1));
  if (phone.starts_with('+')) phone.remove_prefix(1);
  if (!allDigits(id) || id.size() > kMaxIdDigits || !allDigits(phone) ||
      phone.size() > kMaxPhoneDigits) {
    return {ProviderWord::kUnknown, {}, {}, {}};
  }
  answer.id = id;
  answer.phone = phone;
  return answer;
}

StatusAnswer readStatusAnswer(std::string_view body) {
  const Reading reading =
      readWord(body, {ProviderWord::kStatusWaitCode, ProviderWord::kStatusWaitRetry,
                      ProviderWord::kStatusWaitResend, ProviderWord::kStatusOk,
                      ProviderWord::kStatusCancel, ProviderWord::kNoActivation});
  StatusAnswer answer;
  answer.word = reading.word;
  if (reading.word == ProviderWord::kStatusOk || reading.word == ProviderWord::kStatusWaitRetry) {
    answer.code = oneLineText(reading.payload);
  }
  // A code is what the service shows for the SMS: without one there is nothing to show.
  if (reading.word == ProviderWord::kStatusOk && answer.code.empty()) {
    return {ProviderWord::kUnknown, {}, {}};
  }
  return answer;
}

ProviderWord readStepAnswer(std::string_view body) {
  return readWord(body, {ProviderWord::kAccessRetryGet, ProviderWord::kAccessActivation,
                         ProviderWord::kAccessCancel, ProviderWord::kEarlyCancelDenied,
                         ProviderWord::kNoActivation, ProviderWord::kBadStatus,
                         ProviderWord::kAlreadyFinish, ProviderWord::kAlreadyCancel})
      .word;
}

std::optional<std::string> readSmsText(std::string_view body) {
  const std::optional<nlohmann::json> value = parsedJson(trimmed(body));
  if (!value) return std::nullopt;
  const nlohmann::json* sms = member(*value, "sms");
  const nlohmann::json* text = sms ? member(*sms, "text") : nullptr;
  if (text == nullptr || !text->is_string()) return std::nullopt;
  std::string line = oneLineText(text->get<std::string>());
  if (line.empty()) return std::nullopt;
  return line;
}

PriceAnswer readPriceAnswer(std::string_view body, std::string_view service, int country) {
  const std::optional<nlohmann::json> value = parsedJson(trimmed(body));
  if (!value) return {};
  const nlohmann::json* inCountry = member(*value, std::to_string(country));
  const nlohmann::json* prices = inCountry ? member(*inCountry, std::string(service)) : nullptr;
  const nlohmann::json* cost = prices ? member(*prices, "cost") : nullptr;
  const nlohmann::json* count = prices ? member(*prices, "count") : nullptr;
  if (cost == nullptr || count == nullptr) return {};
  const std::optional<std::string> costRead = costText(*cost);
  const std::optional<long long> countRead = countValue(*count);
  if (!costRead || !countRead) return {};
  return {true, *costRead, *countRead};
}

}  // namespace velmora::service
