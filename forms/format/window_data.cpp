#include "forms/format/window_data.h"

namespace velmora::forms {
namespace {

// The index holds the K window ids, then K words of scratch space for the loaded windows.
std::vector<uint32_t> readWindowIndex(ArchiveReader& reader) {
  uint32_t length = reader.readWord();
  auto index = reader.readBytes(length);
  if (reader.ok() && length % 8 != 0) reader.fail(ReadStatus::kMalformed);
  std::vector<uint32_t> ids;
  if (!reader.ok()) return ids;
  for (size_t i = 0; i < length / 8; ++i) ids.push_back(loadWord(index.data() + i * 4));
  return ids;
}

}  // namespace

std::optional<std::vector<WindowRecord>> readWindowData(std::span<const uint8_t> data,
                                                        WindowDataFault* fault) {
  std::vector<WindowRecord> windows;
  if (data.empty()) return windows;
  ArchiveReader reader(data);
  uint32_t readingWindow = 0;  // 0 while the index is read
  for (uint32_t id : readWindowIndex(reader)) {
    readingWindow = id;
    WindowRecord window;
    window.id = id;
    window.reserved1 = reader.readWord();
    window.reserved2 = reader.readWord();
    window.reservedText1 = reader.readCountedText();
    window.reservedText2 = reader.readCountedText();
    auto units = UnitTable::read(reader);
    if (!units) break;
    window.units = std::move(*units);
    windows.push_back(std::move(window));
  }
  if (fault != nullptr) *fault = {reader.status(), reader.ok() ? 0 : readingWindow};
  if (!reader.ok()) return std::nullopt;
  return windows;
}

Bytes writeWindowData(const std::vector<WindowRecord>& windows) {
  ArchiveWriter writer;
  writer.writeWord(static_cast<uint32_t>(windows.size() * 8));
  for (const auto& window : windows) writer.writeWord(window.id);
  for (size_t i = 0; i < windows.size(); ++i) writer.writeWord(0);
  for (const auto& window : windows) {
    writer.writeWord(window.reserved1);
    writer.writeWord(window.reserved2);
    writer.writeCountedText(window.reservedText1);
    writer.writeCountedText(window.reservedText2);
    window.units.write(writer);
  }
  return writer.take();
}

}  // namespace velmora::forms
