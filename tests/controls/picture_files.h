// The picture files of the window data, read for tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora::testing {

inline std::vector<uint8_t> pictureFile(const std::string& name) {
  std::ifstream in(std::string(VELMORA_PICTURES_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace velmora::testing
