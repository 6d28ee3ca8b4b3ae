// Values the client makes for its requests from the clock and the random numbers.
#pragma once

#include <string>

namespace velmora::protocol {

// restuser.php's code: a random number from 11111 on, drawn after seeding from the clock.
std::string newRegistrationCode();
// restpay.php's order number: the year, 1111-9999, the month, 111-999 and 1111-9999, each read
// or drawn anew in that order after seeding from the clock (16 or 17 digits).
std::string newOrderNumber();
// The local date as year "/" month "/" day, without leading zeros.
std::string currentDate();

}  // namespace velmora::protocol
