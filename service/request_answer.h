// What the service answers to a GET of a request target, apart from how the bytes travel: the
// HTTP layer hands each target over as it came and sends the reply back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/number_desk.h"

namespace velmora::service {

struct Reply {
  int status = 200;  // 404 for a target that names no endpoint, 503 when the store failed
  std::string body;
  std::string_view contentType;
};

// Answers targets from any number of threads at once; they share the desk's one database
// connection, whose transactions must not interleave, and take turns at the desk. The password a
// request carries is verified before the request takes its turn, so that no request waits for
// another's password hash.
class RequestAnswerer {
 public:
  explicit RequestAnswerer(NumberDesk& desk) : desk_(desk) {}

  // The target is the path and query as the request line carries them ("/E/qx/getkf.php?…").
  Reply answer(std::string_view target);

 private:
  Proof prove(const std::optional<Credentials>& claimed);

  NumberDesk& desk_;
};

}  // namespace velmora::service
