// A header of GBK text constants made from a UTF-8 texts file, so that the UTF-8 text is the one
// written by hand and the GBK bytes the runtime needs are made at build time.
#pragma once

#include <string>
#include <string_view>

namespace velmora::tools {

// The texts file: `kName = "UTF-8 text"` a line; quoted texts on the lines below continue the
// text; `#` starts a comment, and a comment on a line of its own is carried into the header.
// The header defines `inline constexpr char kName[]` with the GBK bytes, in namespace
// `nameSpace`; `file` names the source in faults, and its file name in the header. Fails
// (SourceError, naming the file, line and constant) on a text that GBK cannot encode, a name that
// is not a constant name (kName) or a name given twice.
std::string gbkTextsHeader(const std::string& file, const std::string& content,
                           const std::string& nameSpace);

// A C++ string literal of the bytes: bytes from 0x80 and control characters escaped.
std::string cppLiteral(std::string_view bytes);

}  // namespace velmora::tools
