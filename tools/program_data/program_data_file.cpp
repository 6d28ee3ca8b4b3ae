#include "tools/program_data/program_data_file.h"

namespace velmora::tools {
namespace {

constexpr uint32_t kFileMagic = 0x31445056;  // "VPD1"

}  // namespace

forms::Bytes writeProgramDataFile(const BuiltProgramData& data) {
  forms::ArchiveWriter writer;
  writer.writeWord(kFileMagic);
  writer.writeData(data.windowData);
  writer.writeData(data.constants);
  writer.writeWord(static_cast<uint32_t>(data.namedConstants.size()));
  for (const auto& constant : data.namedConstants) {
    writer.writeCountedText(constant.name);
    writer.writeWord(static_cast<uint32_t>(constant.kind));
    writer.writeWord(constant.offset);
  }
  forms::TextList names(data.handlerNames.begin(), data.handlerNames.end());
  writer.writeTextList(names);
  return writer.take();
}

std::optional<BuiltProgramData> readProgramDataFile(std::span<const uint8_t> file) {
  forms::ArchiveReader reader(file);
  if (reader.readWord() != kFileMagic) return std::nullopt;
  BuiltProgramData data;
  data.windowData = reader.readData();
  data.constants = reader.readData();
  uint32_t count = reader.readWord();
  for (uint32_t i = 0; i < count && reader.ok(); ++i) {
    NamedConstant constant;
    constant.name = reader.readCountedText();
    constant.kind = static_cast<ConstantKind>(reader.readWord());
    constant.offset = reader.readWord();
    data.namedConstants.push_back(constant);
  }
  data.handlerNames = reader.readTextList();
  if (!reader.ok()) return std::nullopt;
  return data;
}

}  // namespace velmora::tools
