#include "app/protocol/request_values.h"

#include "app/runtime_calls.h"

namespace velmora::protocol {

using app::now;
using app::randomNumber;

std::string newRegistrationCode() {
  app::seedRandomNumbers();
  return std::to_string(randomNumber(11111, 99999));
}

std::string newOrderNumber() {
  app::seedRandomNumbers();
  std::string number = std::to_string(app::yearOf(now()));
  number += std::to_string(randomNumber(1111, 9999));
  number += std::to_string(app::monthOf(now()));
  number += std::to_string(randomNumber(111, 999));
  number += std::to_string(randomNumber(1111, 9999));
  return number;
}

std::string currentDate() {
  const double today = now();
  return std::to_string(app::yearOf(today)) + "/" + std::to_string(app::monthOf(today)) + "/" +
         std::to_string(app::dayOf(today));
}

}  // namespace velmora::protocol
