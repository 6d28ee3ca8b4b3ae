// Split text: the pieces of a text between its delimiters, as a new array of texts.
#include <algorithm>
#include <string_view>
#include <vector>

#include "runtime/commands/arguments.h"
#include "runtime/commands/character_search.h"
#include "runtime/commands/commands.h"
#include "runtime/value_blocks.h"

namespace velmora::runtime {
namespace {

constexpr int64_t kUnlimited = -1;

struct Piece {
  size_t start;
  size_t length;
};

// The pieces of text, at most limit of them (kUnlimited for no limit); an empty last piece is
// dropped, and delimiters are matched at character boundaries only.
std::vector<Piece> piecesOf(std::string_view text, std::string_view delimiter, int64_t limit) {
  std::vector<Piece> pieces;
  if (text.empty() || limit == 0) return pieces;
  if (delimiter.empty()) return {{0, text.size()}};
  const size_t length = text.size();
  size_t pieceStart = 0;
  for (;;) {
    const size_t found = findAtCharacterStart(text, pieceStart, delimiter, false);
    if (found == kNotFound) break;
    pieces.push_back({pieceStart, found - pieceStart});
    pieceStart = found + delimiter.size();
    if (limit != kUnlimited && --limit == 0) return pieces;
  }
  if (pieceStart < length) pieces.push_back({pieceStart, length - pieceStart});
  return pieces;
}

}  // namespace

void splitText(ResultRecord* result, int32_t argCount, const ArgRecord* args) {
  const Arguments arguments(argCount, args);
  const std::string_view text = arguments.text(1);
  const std::string_view delimiter = arguments.given(2) ? arguments.text(2) : ",";
  const int64_t limit =
      arguments.given(3) ? std::max<int64_t>(arguments.integer(3), 0) : kUnlimited;
  const std::vector<Piece> pieces = piecesOf(text, delimiter, limit);
  void* array = newArray(types::kText, static_cast<int32_t>(pieces.size()));
  auto* elements = static_cast<char**>(arrayElements(array));
  for (size_t i = 0; i < pieces.size(); ++i) {
    elements[i] =
        textFromBytes(text.data() + pieces[i].start, static_cast<int32_t>(pieces[i].length));
  }
  setPointerResult(result, array);
}

}  // namespace velmora::runtime
