// The program's named constants (`constants.txt`) and the constant block made from them.
#pragma once

#include <map>
#include <string>

#include "tools/program_data/program_data_file.h"

namespace velmora::tools {

struct ConstantBlock {
  forms::Bytes bytes;
  std::vector<NamedConstant> names;
};

// `definitions` give the values of ${NAME} references inside texts (build options).
ConstantBlock buildConstants(const std::string& file, const std::string& content,
                             const std::map<std::string, std::string>& definitions);

}  // namespace velmora::tools
