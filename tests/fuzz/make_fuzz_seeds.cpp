// Writes the fuzzer's seed corpus into a folder: the sample window data, and a block of every
// unit type at every version, with defaults and with the sample's own values.
#include <cstdio>
#include <fstream>
#include <string>

#include "forms/format/unit_properties.h"
#include "forms/format/window_data.h"
#include "program_data_generated.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

using namespace velmora;

void writeSeed(const std::string& folder, const std::string& name, uint8_t reader,
               const forms::Bytes& bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.put(static_cast<char>(reader));
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER\n");
    return 2;
  }
  std::string folder = argv[1];
  forms::Bytes windowData(program_data::windowData,
                          program_data::windowData + program_data::kWindowDataLength);
  writeSeed(folder, "window_data", fuzzing::kWindowDataReader, windowData);
  for (uint8_t reader = 1; reader < fuzzing::kReaderCount; ++reader) {
    uint32_t type = fuzzing::kBlockTypes[reader - 1];
    for (uint32_t version = 1; version <= forms::highestBlockVersion(type); ++version) {
      writeSeed(folder, std::string(forms::unitTypeName(type)) + "_v" + std::to_string(version),
                reader, forms::writeUnitProperties(*forms::defaultUnitProperties(type), version));
    }
  }
  // The sample's own blocks, with texts, fonts, lists and pictures in them.
  auto windows = forms::readWindowData(windowData);
  if (!windows) return 1;
  int count = 0;
  for (const auto& window : *windows) {
    for (uint32_t i = 0; i < window.units.count(); ++i) {
      forms::UnitRecord unit = window.units.unitAt(i);
      for (uint8_t reader = 1; reader < fuzzing::kReaderCount; ++reader) {
        if (fuzzing::kBlockTypes[reader - 1] == unit.type) {
          writeSeed(folder, "sample_" + std::to_string(count++), reader, unit.propertyBlock);
        }
      }
    }
  }
  return 0;
}
