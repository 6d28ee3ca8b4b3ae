// Reading the query of a client request: percent-encoded GBK bytes become UTF-8 texts.
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

// The query part of a request target, without the "?".
Query decodeQuery(std::string_view query);

// The readable value of a parameter; nothing when it is missing or unreadable.
std::optional<std::string> queryValue(const Query& query, std::string_view name);

// GBK bytes as UTF-8; nothing when the bytes are not GBK or hold control characters.
std::optional<std::string> textFromGbk(std::string_view bytes);

}  // namespace velmora::service
