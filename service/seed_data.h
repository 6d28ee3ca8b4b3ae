// The demo data a new database starts with.
#pragma once

#include <span>
#include <vector>

#include "service/records.h"

namespace velmora::service {

const Account& demoAccount();
inline constexpr const char* kDemoPassword = "demo123";
std::span<const Project> demoProjects();
// One number for every mainland province and every operator the client lists, the same on every
// run: real prefixes of the operator, the other eight digits drawn from a fixed seed.
std::vector<PoolNumber> demoNumbers();

// Shown beside "技术支持" in the client; its login window has room for about 11 characters.
inline constexpr const char* kSupportContact = "@velmora_kf";
// What databases made before the pool existed were seeded with; opening one replaces it.
inline constexpr const char* kFormerSupportContact = "@velmora_support";
// The TRC20 address top-ups are paid to; the client shows it with a QR code.
inline constexpr const char* kDepositAddress = "TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3";

}  // namespace velmora::service
