#pragma once
// The readable text of an HTML body, as stored for a text/html message.
#include <string>
#include <string_view>

namespace larkspin {

// Copies every character outside angle brackets and drops each tag from "<" up to and including
// the next ">". A tag that is exactly "<BR>" (letters in any case) becomes one LF; a "<" without
// a later ">" drops the rest of the text. Entities are left as they are.
std::string StripHtml(std::string_view html);

}  // namespace larkspin
