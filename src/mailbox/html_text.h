#pragma once
// The readable text of an HTML body: StripHtml for the Classic charsets, HtmlToText for Modern.
#include <string>
#include <string_view>

namespace larkspin {

// Copies every character outside angle brackets and drops each tag from "<" up to and including
// the next ">". A tag that is exactly "<BR>" (letters in any case) becomes one LF; a "<" without
// a later ">" drops the rest of the text. Entities are left as they are.
std::string StripHtml(std::string_view html);

// The text of a UTF-8 HTML document as libxml2's HTML parser reads it (recovering from any
// error, silently, never touching the network or a file, any charset the document declares
// ignored):
// - entities are decoded; script, style, head (and the title in it) and comments are dropped;
// - white space collapses outside <pre>; blocks (div, li, tr, ...) start a new line, paragraphs
//   (p, h1-h6, blockquote, pre, hr) follow an empty line, <br> ends a line; never more than one
//   empty line in a row, none at the start or the end (text_layout.h);
// - a list item begins with "- ", table cells are separated by a blank;
// - a link reads "text <url>": just the text when it equals the url (or the address of a
//   "mailto:" url), or when the url is a fragment ("#top") or "javascript:"; just the url when
//   the link has no text.
// The result is UTF-8 with CR LF line ends; bytes that are not UTF-8 are read as libxml2 reads
// them (as ISO-8859-1 from the first such byte on). Empty for an empty document.
std::string HtmlToText(std::string_view utf8_html);

}  // namespace larkspin
