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

void exerciseUnitTable(forms::UnitTable units) {
  for (uint32_t i = 0; i < units.count(); ++i) {
    forms::UnitRecord unit = units.unitAt(i);
    auto found = units.indexOf(units.idAt(i));
    check(!forms::isWellFormedId(units.idAt(i)) || (found && *found <= i));
    forms::UnitProperties properties;
    if (forms::readUnitProperties(unit.type, unit.propertyBlock, properties) ==
        forms::ReadStatus::kOk) {
      forms::UnitProperties again;
      check(forms::readUnitProperties(unit.type, forms::writeUnitProperties(properties), again) ==
            forms::ReadStatus::kOk);
      check(again == properties);
    }
  }
  forms::UnitTable relocated = units;
  relocated.relocateHandlers(0x00400000);
  if (units.count() > 0) {
    forms::UnitRecord last = units.unitAt(units.count() - 1);
    units.replaceText(0, "a new tag");
    check(units.unitAt(units.count() - 1).name == last.name);
  }
}

void readWindows(std::span<const uint8_t> bytes) {
  auto windows = forms::readWindowData(bytes);
  if (!windows) return;
  auto again = forms::readWindowData(forms::writeWindowData(*windows));
  check(again.has_value() && again->size() == windows->size());
  for (size_t i = 0; i < windows->size(); ++i) {
    check((*again)[i].units.body() == (*windows)[i].units.body());
    exerciseUnitTable((*windows)[i].units);
  }
}

void readBlock(uint32_t type, std::span<const uint8_t> bytes) {
  forms::UnitProperties properties;
  if (forms::readUnitProperties(type, bytes, properties) != forms::ReadStatus::kOk) return;
  forms::UnitProperties again;
  check(forms::readUnitProperties(type, forms::writeUnitProperties(properties), again) ==
        forms::ReadStatus::kOk);
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
