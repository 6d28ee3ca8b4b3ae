#include "service/number_parameters.h"

namespace velmora::service {

namespace {

std::string valueOrEmpty(const Query& query, std::string_view name) {
  return queryValue(query, name).value_or("");
}

}  // namespace

Credentials credentialsIn(const Query& query) {
  return {valueOrEmpty(query, "username"), valueOrEmpty(query, "password")};
}

NumberRequest numberRequestIn(const Query& query) {
  NumberRequest request;
  request.project = valueOrEmpty(query, "xm");
  request.region = valueOrEmpty(query, "dq");
  request.carrier = valueOrEmpty(query, "yys");
  const auto asked = query.find("hm");
  if (asked != query.end()) request.askedNumber = asked->second.value_or("?");
  return request;
}

std::string heldNumberIn(const Query& query) {
  return valueOrEmpty(query, "hm");
}

}  // namespace velmora::service
