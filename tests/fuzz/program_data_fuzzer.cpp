// libFuzzer target over the window data reader, the unit tables it yields and every unit type's
// property block reader. Whatever reads must also survive the operations the runtime performs
// on it and write back to bytes that read as the same data.
#include <cstdlib>
#include <span>

#include "forms/format/unit_properties.h"
#include "forms/format/window_data.h"
#include "tests/fuzz/fuzz_input.h"

namespace velmora::fuzzing {
namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

void exerciseUnitTable(UnitTable units) {
  for (uint32_t i = 0; i < units.count(); ++i) {
    UnitRecord unit = units.unitAt(i);
    auto found = units.indexOf(units.idAt(i));
    check(!isWellFormedId(units.idAt(i)) || (found && *found <= i));
    UnitProperties properties;
    if (readUnitProperties(unit.type, unit.propertyBlock, properties) == ReadStatus::kOk) {
      UnitProperties again;
      check(readUnitProperties(unit.type, writeUnitProperties(properties), again) ==
            ReadStatus::kOk);
      check(again == properties);
    }
  }
  UnitTable relocated = units;
  relocated.relocateHandlers(0x00400000);
  if (units.count() > 0) {
    UnitRecord last = units.unitAt(units.count() - 1);
    units.replaceText(0, "a new tag");
    check(units.unitAt(units.count() - 1).name == last.name);
  }
}

void readWindows(std::span<const uint8_t> bytes) {
  auto windows = readWindowData(bytes);
  if (!windows) return;
  auto again = readWindowData(writeWindowData(*windows));
  check(again.has_value() && again->size() == windows->size());
  for (size_t i = 0; i < windows->size(); ++i) {
    check((*again)[i].units.body() == (*windows)[i].units.body());
    exerciseUnitTable((*windows)[i].units);
  }
}

void readBlock(uint32_t type, std::span<const uint8_t> bytes) {
  UnitProperties properties;
  if (readUnitProperties(type, bytes, properties) != ReadStatus::kOk) return;
  UnitProperties again;
  check(readUnitProperties(type, writeUnitProperties(properties), again) == ReadStatus::kOk);
  check(again == properties);
}

}  // namespace
}  // namespace velmora::fuzzing

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace velmora::fuzzing;
  if (size == 0) return 0;
  std::span<const uint8_t> bytes(data + 1, size - 1);
  uint8_t reader = data[0] % kReaderCount;
  if (reader == kWindowDataReader) {
    readWindows(bytes);
  } else {
    readBlock(kBlockTypes[reader - 1], bytes);
  }
  return 0;
}
