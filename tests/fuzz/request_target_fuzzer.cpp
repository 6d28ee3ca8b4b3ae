// Fuzzes what the demo service reads from a request: the target as it came, split at its "?",
// the query decoded as the client's GBK or as UTF-8 form data, every endpoint and the JSON API
// against one in-memory database, and the log's masking of passwords. Every reply must be what
// the HTTP layer can send: a 404 without a body, text in UTF-8, JSON that parses.
#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "service/number_desk.h"
#include "service/query.h"
#include "service/request_answer.h"
#include "service/request_log.h"

namespace {

using namespace velmora::service;

// One database for the process: a new one is seeded, and hashing the demo password takes long.
// What inputs register, charge and hold stays for the later ones.
// The fuzzer asks one request at a time, so the pool keeps its one connection, and the one
// in-memory database with it.
RequestAnswerer& answerer() {
  static StorePool stores(":memory:");
  // SMS at once, so that the steps after it are reached too.
  static NumberOffice office(NumberTimes{std::chrono::seconds(0), std::chrono::hours(1)});
  static RequestAnswerer answerer(stores, office);
  return answerer;
}

bool isUtf8Text(const std::string& text) {
  return text.empty() || textFromUtf8(text).has_value();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view target(reinterpret_cast<const char*>(data), size);
  withoutPasswords(target);
  const Reply reply = answerer().answer(target);
  if (reply.status == 404) {
    if (!reply.body.empty()) __builtin_trap();
  } else if (reply.status != 200 || !isUtf8Text(reply.body)) {
    __builtin_trap();
  } else if (reply.contentType.starts_with("application/json") &&
             !nlohmann::json::accept(reply.body)) {
    __builtin_trap();
  }
  return 0;
}
