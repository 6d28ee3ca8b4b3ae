// What the service answers to a GET of a request target, apart from how the bytes travel: the
// HTTP layer hands each target over as it came and sends the reply back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "service/number_desk.h"
#include "service/store/store_pool.h"

namespace velmora::service {

struct Reply {
  int status = 200;  // 404 for a target that names no endpoint, 503 when the store failed
  std::string body;
  std::string_view contentType;
};

// Answers targets from any number of threads at once, each request on a connection of its own
// to the store, at a desk of its own. The password a request carries is verified outside any
// transaction, so that no request waits for another's password hash.
class RequestAnswerer {
 public:
  RequestAnswerer(StorePool& stores, NumberOffice& office) : stores_(stores), office_(office) {}

  // The target is the path and query as the request line carries them ("/E/qx/getkf.php?…").
  Reply answer(std::string_view target);

 private:
  Proof prove(Database& database, const std::optional<Credentials>& claimed);

  StorePool& stores_;
  NumberOffice& office_;
};

}  // namespace velmora::service
