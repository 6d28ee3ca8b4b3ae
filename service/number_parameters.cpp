#include "service/number_parameters.h"

#include "app/protocol/vocabulary.h"

namespace velmora::service {

namespace {

namespace parameter = protocol::parameter;

std::string valueOrEmpty(const Query& query, std::string_view name) {
  return queryValue(query, name).value_or("");
}

}  // namespace

Credentials credentialsIn(const Query& query) {
  return {valueOrEmpty(query, parameter::kUserName), valueOrEmpty(query, parameter::kPassword)};
}

NumberRequest numberRequestIn(const Query& query) {
  NumberRequest request;
  request.project = valueOrEmpty(query, parameter::kProject);
  request.region = valueOrEmpty(query, parameter::kRegion);
  request.carrier = valueOrEmpty(query, parameter::kCarrier);
  const auto asked = query.find(parameter::kNumber);
  if (asked != query.end()) request.askedNumber = asked->second.value_or("?");
  return request;
}

std::string heldNumberIn(const Query& query) {
  return valueOrEmpty(query, parameter::kNumber);
}

}  // namespace velmora::service
