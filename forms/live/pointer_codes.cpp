#include "forms/live/pointer_codes.h"

#include <iterator>

namespace velmora::forms {
namespace {

// Code i names system cursor id kPointerIds[i].
constexpr uint32_t kPointerIds[] = {0,      0x7F00, 0x7F03, 0x7F01, 0x7F02, 0x7F8B, 0x7F8A, 0x7F88,
                                    0x7F86, 0x7F83, 0x7F85, 0x7F82, 0x7F84, 0x7F04, 0x7F89};

Bytes withFirstWord(Bytes data, uint32_t (*convert)(uint32_t)) {
  if (data.size() >= 4) storeWord(data.data(), convert(loadWord(data.data())));
  return data;
}

}  // namespace

uint32_t pointerIdFromCode(uint32_t code) {
  return code < std::size(kPointerIds) ? kPointerIds[code] : code;
}

uint32_t pointerCodeFromId(uint32_t id) {
  for (uint32_t code = 0; code < std::size(kPointerIds); ++code) {
    if (kPointerIds[code] == id) return code;
  }
  return id;
}

Bytes pointerDataWithId(const uint8_t* data, uint32_t length) {
  if (data == nullptr) return {};
  return withFirstWord(Bytes(data, data + length), pointerIdFromCode);
}

Bytes pointerDataWithCode(const Bytes& data) {
  return withFirstWord(data, pointerCodeFromId);
}

}  // namespace velmora::forms
