#include "io/xml_text.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "io/file_error.h"

namespace tavrin {

namespace {

// The encoding a part says it is in, when that is not UTF-8: a byte-order mark of UTF-16 or
// UTF-32, a zero byte where the first characters are, or another encoding declared.
std::string OtherEncoding(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return "UTF-16";
  if (bytes.substr(0, 4).find('\0') != std::string_view::npos) return "UTF-16 or UTF-32";
  if (!bytes.starts_with("<?xml")) return "";
  std::string_view declaration = bytes.substr(0, bytes.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return "";
  size_t open = declaration.find_first_of("\"'", at);
  size_t close =
      open == std::string_view::npos ? open : declaration.find(declaration[open], open + 1);
  if (close == std::string_view::npos) return "";
  std::string name(declaration.substr(open + 1, close - open - 1));
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "utf-8" || lower == "utf8" ? "" : name;
}

}  // namespace

void ParseXml(pugi::xml_document& document, std::string_view bytes, const std::string& part) {
  // Cells are read from the part's bytes as UTF-8: a part in another encoding would read as
  // empty, and lose its cells when saved.
  if (std::string other = OtherEncoding(bytes); !other.empty())
    throw FormatError(part + " is written in " + other + ", which cannot be read (only UTF-8)");
  pugi::xml_parse_result result = document.load_buffer(
      bytes.data(), bytes.size(),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single,
      pugi::encoding_utf8);
  if (!result) throw FormatError(part + " is damaged (" + result.description() + ")");
}

std::string PrintXml(const pugi::xml_node& node) {
  struct Writer : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
      text.append(static_cast<const char*>(data), size);
    }
  } writer;
  node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return std::move(writer.text);
}

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// Appends the character that starts at text[i] as XML can hold it and returns where the next
// one starts: a byte that begins no UTF-8 character, and U+FFFE and U+FFFF, become U+FFFD; a
// control character other than tab, line feed and carriage return is dropped.
size_t AppendCharacter(std::string& out, std::string_view text, size_t i) {
  auto byte = static_cast<unsigned char>(text[i]);
  if (byte < 0x80) {
    if (byte >= 0x20 || byte == '\t' || byte == '\n' || byte == '\r') out += text[i];
    return i + 1;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data() + i);
  int32_t length = static_cast<int32_t>(std::min<size_t>(text.size() - i, 4));
  int32_t next = 0;
  UChar32 c;
  U8_NEXT(bytes, next, length, c);
  if (c < 0 || c == 0xFFFE || c == 0xFFFF) {
    out += kReplacement;
  } else {
    out.append(text.substr(i, static_cast<size_t>(next)));
  }
  return i + static_cast<size_t>(next);
}

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    switch (text[i]) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\r':  // raw, a reader would take it (and CR LF) for a line feed
        out += "&#13;";
        break;
      default:
        i = AppendCharacter(out, text, i);
        continue;
    }
    ++i;
  }
}

std::string XmlText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) i = AppendCharacter(out, text, i);
  return out;
}

pugi::xml_node Obtain(pugi::xml_node parent, const char* name) {
  pugi::xml_node child = parent.child(name);
  return child ? child : parent.append_child(name);
}

std::string ResolveTarget(const std::string& fromPart, const std::string& target) {
  if (!target.empty() && target.front() == '/') return target.substr(1);
  std::vector<std::string> segments;
  size_t slash = fromPart.rfind('/');
  std::string path = (slash == std::string::npos ? "" : fromPart.substr(0, slash + 1)) + target;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string resolved;
  for (const std::string& segment : segments) resolved += (resolved.empty() ? "" : "/") + segment;
  return resolved;
}

}  // namespace tavrin
