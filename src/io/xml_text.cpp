#include "io/xml_text.h"

#include <vector>

#include "io/file_error.h"

namespace tavrin {

void ParseXml(pugi::xml_document& document, std::string_view bytes, const std::string& part) {
  pugi::xml_parse_result result = document.load_buffer(
      bytes.data(), bytes.size(),
      pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single);
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

void AppendEscaped(std::string& out, std::string_view text) {
  for (char c : text) {
    switch (c) {
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
      default:
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r') {
          out += c;
        }
    }
  }
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
