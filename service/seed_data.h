// The demo data a new database starts with.
#pragma once

#include <span>

#include "service/records.h"

namespace velmora::service {

const Account& demoAccount();
std::span<const Project> demoProjects();

// Shown beside "技术支持" in the client.
inline constexpr const char* kSupportContact = "@velmora_support";
// The TRC20 address top-ups are paid to; the client shows it with a QR code.
inline constexpr const char* kDepositAddress = "TDhNQAT8YrjBAUhj9G48CDS3qTqVTNTxe3";

}  // namespace velmora::service
