// The SMS a project sends to a number it verifies.
#pragma once

#include <string>
#include <string_view>

namespace velmora::service {

// The text of one of the project's SMS wordings, picked by `wording` (any number): Chinese for a
// project with a Chinese name, English for one named in Latin letters. It opens with the
// project's name as the sender's signature and holds `code` once.
std::string smsText(std::string_view project, std::string_view code, unsigned wording);

}  // namespace velmora::service
