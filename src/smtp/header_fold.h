#pragma once
// Header lines of a sent mail folded for the wire (RFC 5322): a line should stay within 78
// characters and must never pass 998.
#include <string>
#include <string_view>

namespace larkspin {

inline constexpr size_t kFoldedLineLength = 78;
inline constexpr size_t kMaxHeaderLineLength = 998;

// One unfolded header line "Name: value" (no CR LF; its line breaks already removed), folded
// and ended with CR LF. A fold goes in before a blank or tab that is followed by something else
// wherever the line would otherwise pass 78 characters, never between the field name and its
// first word; unfolding gives back the line byte for byte. Only a run of more than 998
// characters without such a blank is cut, at 998, with CR LF and a blank: a change no fold avoids.
std::string FoldedHeaderLine(std::string_view line);

}  // namespace larkspin
