// Prints built program data (the builder's --out-binary file) readably.
//
//   program_data_dump FILE
#include <fstream>
#include <iostream>
#include <iterator>

#include "tools/program_data_dump/program_data_dump.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: program_data_dump FILE\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  velmora::forms::Bytes file(std::istreambuf_iterator<char>(in), {});
  if (!in && !in.eof()) {
    std::cerr << "program_data_dump: cannot read " << argv[1] << "\n";
    return 1;
  }
  auto data = velmora::tools::readProgramDataFile(file);
  if (!data) {
    std::cerr << "program_data_dump: " << argv[1] << " is not built program data\n";
    return 1;
  }
  std::cout << velmora::tools::dumpProgramData(*data);
  return 0;
}
