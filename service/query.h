// Reading the query of a request: percent-encoded GBK (the client) or UTF-8 (programs calling the
// JSON API) bytes become UTF-8 texts.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::service {

// Parameter name -> value in UTF-8. A value that is not readable (a broken percent escape, bytes
// that are not GBK, control characters) is present without a value, so an endpoint can tell it
// from a missing parameter. The first of repeated names counts.
using Query = std::map<std::string, std::optional<std::string>, std::less<>>;

enum class QueryEncoding {
  kClientGbk,  // GBK, every byte but A-Z a-z 0-9 - . _ ~ / escaped; "+" is itself
  kFormUtf8,   // UTF-8 as URL libraries and web forms send it, "+" for a space
};

// The query part of a request target, without the "?".
Query decodeQuery(std::string_view query, QueryEncoding encoding = QueryEncoding::kClientGbk);

// The readable value of a parameter; nothing when it is missing or unreadable.
std::optional<std::string> queryValue(const Query& query, std::string_view name);

// GBK bytes as UTF-8; nothing when the bytes are not GBK or hold control characters.
std::optional<std::string> textFromGbk(std::string_view bytes);
// UTF-8 bytes as they are; nothing when they are not UTF-8 or hold control characters.
std::optional<std::string> textFromUtf8(std::string_view bytes);
// Whether a UTF-8 text can reach the client: GBK has a form for each of its characters and it
// holds no control characters.
bool writableInGbk(std::string_view text);

}  // namespace velmora::service
