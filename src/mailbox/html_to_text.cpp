#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <array>
#include <climits>
#include <memory>
#include <mutex>
#include <vector>

#include "common/string_tools.h"
#include "mailbox/html_text.h"
#include "mailbox/text_layout.h"

namespace larkspin {

namespace {
constexpr std::array<std::string_view, 5> kDropped = {"script", "style", "head", "title", "template"};
constexpr std::array<std::string_view, 8> kParagraphs = {"p", "h1", "h2", "h3", "h4", "h5", "h6", "blockquote"};
constexpr std::array<std::string_view, 29> kBlocks = {
    "address", "article", "aside",   "caption", "center", "dd",     "details", "dialog", "div",  "dl",
    "dt",      "fieldset", "figcaption", "figure", "footer", "form", "header", "li",     "main", "menu",
    "nav",     "ol",      "section", "summary", "table",  "tbody",  "thead",   "tr",     "ul"};

template <size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  return std::ranges::find(names, name) != names.end();
}

std::string_view NameOf(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

void IgnoreError(void*, const char*, ...) {}
void IgnoreStructuredError(void*, xmlErrorPtr) {}

struct DocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct ContextFree {
  void operator()(htmlParserCtxt* context) const { htmlFreeParserCtxt(context); }
};

// A link being read: its url and where its text began.
struct OpenLink {
  std::string url;
  size_t text_start;
};

class CHtmlTextWriter {
 public:
  std::string Write(const xmlDoc* doc) {
    const xmlNode* root = reinterpret_cast<const xmlNode*>(doc);
    // Iterative, since a hostile document may nest elements as deep as it likes.
    const xmlNode* node = root->children;
    while (node != nullptr) {
      if (Enter(node) && node->children != nullptr) {
        node = node->children;
        continue;
      }
      while (node != nullptr) {
        Leave(node);
        if (node->next != nullptr) {
          node = node->next;
          break;
        }
        node = node->parent == root ? nullptr : node->parent;
      }
    }
    return layout_.Text();
  }

 private:
  // Lays out what comes before the node's content; false when its content is dropped.
  bool Enter(const xmlNode* node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      const std::string_view text = node->content ? reinterpret_cast<const char*>(node->content) : "";
      if (preformatted_ > 0) layout_.AddPreformatted(text);
      else layout_.AddText(text);
      return false;
    }
    if (node->type != XML_ELEMENT_NODE) return false;
    const std::string_view name = NameOf(node);
    if (IsOneOf(name, kDropped)) return false;
    BreakAround(name);
    if (name == "br") layout_.AddLineEnd();
    if (name == "li") layout_.AddText("- ");
    if (name == "td" || name == "th") layout_.AddText(" ");
    if (name == "pre") ++preformatted_;
    if (name == "a") links_.push_back({Href(node), layout_.Length()});
    return true;
  }

  void Leave(const xmlNode* node) {
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string_view name = NameOf(node);
    if (IsOneOf(name, kDropped)) return;
    if (name == "pre") --preformatted_;
    if (name == "a" && !links_.empty()) {
      CloseLink(links_.back());
      links_.pop_back();
    }
    BreakAround(name);
  }

  void BreakAround(std::string_view name) {
    if (IsOneOf(name, kParagraphs) || name == "pre" || name == "hr") layout_.BreakParagraph();
    else if (IsOneOf(name, kBlocks)) layout_.BreakLine();
  }

  static std::string Href(const xmlNode* node) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>("href"));
    std::string href = value ? std::string(Trimmed(reinterpret_cast<const char*>(value), " \t\r\n")) : std::string();
    xmlFree(value);
    return href;
  }

  void CloseLink(const OpenLink& link) {
    const std::string_view url = link.url;
    if (url.empty() || url.starts_with('#') || (url.size() >= 11 && EqualsIgnoringCase(url.substr(0, 11), "javascript:")))
      return;
    const std::string_view text = Trimmed(layout_.Since(link.text_start), " \t\r\n");
    const bool mailto = url.size() >= 7 && EqualsIgnoringCase(url.substr(0, 7), "mailto:");
    if (text == url || (mailto && text == url.substr(7))) return;
    if (text.empty()) {
      layout_.AddText(url);
    } else {
      layout_.AddText(" <");
      layout_.AddText(url);
      layout_.AddText(">");
    }
  }

  CTextLayout layout_;
  int preformatted_ = 0;
  std::vector<OpenLink> links_;
};
}  // namespace

std::string HtmlToText(std::string_view utf8_html) {
  static std::once_flag initialised;
  std::call_once(initialised, xmlInitParser);
  // libxml2 keeps its error handlers per thread; these stay silent.
  xmlSetGenericErrorFunc(nullptr, IgnoreError);
  xmlSetStructuredErrorFunc(nullptr, IgnoreStructuredError);
  if (utf8_html.empty()) return {};
  const std::unique_ptr<htmlParserCtxt, ContextFree> context(htmlNewParserCtxt());
  if (!context) return {};
  const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET |
                      HTML_PARSE_IGNORE_ENC | HTML_PARSE_COMPACT;
  // Opened in the body, so libxml2 implies no paragraph around text at the start; a head or
  // title later on is misplaced there and dropped all the same.
  const std::string document = "<body>" + std::string(utf8_html.substr(0, INT_MAX - 6));
  const std::unique_ptr<xmlDoc, DocFree> doc(htmlCtxtReadMemory(context.get(), document.data(),
                                                                static_cast<int>(document.size()), nullptr, "UTF-8", options));
  if (!doc) return {};
  return CHtmlTextWriter().Write(doc.get());
}

}  // namespace larkspin
