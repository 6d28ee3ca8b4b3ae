// Builds the program data from the window sources and the constants: the window data stream and
// the constant block, embedded through generated C++ sources and written as a file to dump.
//
//   program_data_builder --windows DIR --constants FILE [--define NAME=VALUE]...
//                        [--out-header FILE --out-source FILE] [--out-binary FILE]
//                        [--out-units FILE]
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>

#include "tools/program_data_builder/constants_source.h"
#include "tools/program_data_builder/generated_sources.h"
#include "tools/program_data_builder/window_assembly.h"

namespace fs = std::filesystem;
using namespace velmora;
using namespace velmora::tools;

namespace {

struct Options {
  fs::path windows;
  fs::path constants;
  std::map<std::string, std::string> definitions;
  fs::path outHeader, outSource, outBinary, outUnits;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes only when the content changes, so that the program is not rebuilt for nothing.
void writeFile(const fs::path& path, const std::string& content) {
  if (path.empty()) return;
  if (fs::exists(path) && readFile(path) == content) return;
  std::ofstream out(path, std::ios::binary);
  out << content;
  if (!out) throw SourceError("cannot write " + path.string());
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    if (i + 1 >= argc) throw SourceError("missing value after " + option);
    std::string value = argv[++i];
    if (option == "--windows")
      options.windows = value;
    else if (option == "--constants")
      options.constants = value;
    else if (option == "--out-header")
      options.outHeader = value;
    else if (option == "--out-source")
      options.outSource = value;
    else if (option == "--out-binary")
      options.outBinary = value;
    else if (option == "--out-units")
      options.outUnits = value;
    else if (option == "--define" && value.find('=') != std::string::npos) {
      options.definitions[value.substr(0, value.find('='))] = value.substr(value.find('=') + 1);
    } else {
      throw SourceError("unknown option " + option + " " + value);
    }
  }
  if (options.windows.empty() || options.constants.empty()) {
    throw SourceError(
        "usage: program_data_builder --windows DIR --constants FILE "
        "[--define NAME=VALUE]... [--out-header F --out-source F] [--out-binary F] "
        "[--out-units F]");
  }
  return options;
}

// The window sources in file-name order; a folder without any gives no windows.
std::vector<SourceWindow> readWindows(const fs::path& folder) {
  std::vector<fs::path> files;
  if (fs::is_directory(folder)) {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path().extension() == ".win") files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  std::vector<SourceWindow> windows;
  for (const auto& file : files) {
    auto read = readWindowSource(file.string(), readFile(file), folder / "pictures");
    std::move(read.begin(), read.end(), std::back_inserter(windows));
  }
  return windows;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Options options = parseOptions(argc, argv);
    std::vector<SourceWindow> sources = readWindows(options.windows);
    AssembledWindows assembled = assembleWindows(sources);
    std::string units = generatedUnitsHeader(sources);
    ConstantBlock constants = buildConstants(options.constants.string(),
                                             readFile(options.constants), options.definitions);
    BuiltProgramData data;
    if (!assembled.windows.empty()) data.windowData = forms::writeWindowData(assembled.windows);
    data.constants = std::move(constants.bytes);
    data.namedConstants = std::move(constants.names);
    data.handlerNames = std::move(assembled.handlerNames);
    writeFile(options.outHeader, generatedHeader(data));
    writeFile(options.outSource, generatedSource(data, options.outHeader.filename().string()));
    forms::Bytes file = writeProgramDataFile(data);
    writeFile(options.outBinary, std::string(file.begin(), file.end()));
    writeFile(options.outUnits, units);
    return 0;
  } catch (const SourceError& error) {
    std::cerr << "program_data_builder: " << error.what() << "\n";
    return 1;
  }
}
