// Writes a header of GBK text constants from a UTF-8 texts file, at build time.
//
//   gbk_texts --source FILE --namespace NAME --out FILE
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tools/gbk_texts/gbk_texts.h"
#include "tools/program_data_builder/source_lines.h"

namespace fs = std::filesystem;
using namespace velmora::tools;

namespace {

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes only when the content changes, so that nothing is rebuilt for nothing.
void writeFile(const fs::path& path, const std::string& content) {
  if (fs::exists(path) && readFile(path) == content) return;
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) throw SourceError("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
  try {
    fs::path source, out;
    std::string nameSpace;
    for (int i = 1; i + 1 < argc; i += 2) {
      const std::string option = argv[i];
      if (option == "--source")
        source = argv[i + 1];
      else if (option == "--namespace")
        nameSpace = argv[i + 1];
      else if (option == "--out")
        out = argv[i + 1];
      else
        throw SourceError("unknown option " + option);
    }
    if (argc % 2 == 0 || source.empty() || nameSpace.empty() || out.empty())
      throw SourceError("usage: gbk_texts --source FILE --namespace NAME --out FILE");
    writeFile(out, gbkTextsHeader(source.string(), readFile(source), nameSpace));
    return 0;
  } catch (const SourceError& error) {
    std::cerr << "gbk_texts: " << error.what() << "\n";
    return 1;
  }
}
