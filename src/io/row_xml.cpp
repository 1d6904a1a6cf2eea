#include "io/row_xml.h"

#include <charconv>

namespace tavrin {

namespace {

// Reads one row's characters. Every method returns false for a form it does not take, which
// sends the row to the XML parser.
class RowScanner {
 public:
  explicit RowScanner(std::string_view text) : text_(text) {}

  bool Row(RowXml& row) {
    if (!Open("row")) return false;
    bool empty = false;
    seen_.clear();
    if (!Attributes(empty, [&](std::string_view name, std::string_view value) {
          if (name == "r") return First(name, row.hasR = Whole(value, 18, row.r));
          if (name == "ht") return First(name, row.hasHt = Decimal(value, row.ht));
          if (name == "customHeight") return First(name, Flag(value, row.customHeight));
          if (name == "customFormat") return First(name, Flag(value, row.customFormat));
          if (name == "s") return First(name, Whole(value, 9, row.s));
          if (name == "hidden") return First(name, Flag(value, row.hidden));
          if (name == "outlineLevel") return First(name, Whole(value, 9, row.outlineLevel));
          if (name == "collapsed") return First(name, Flag(value, row.collapsed));
          return true;
        }))
      return false;
    if (empty) return at_ == text_.size();
    for (;;) {
      SkipSpace();
      if (Take("</row>")) return at_ == text_.size();
      if (!Cell(row.cells.emplace_back())) return false;
    }
  }

 private:
  bool Cell(CellXml& cell) {
    if (!Open("c")) return false;
    bool empty = false;
    seen_.clear();
    if (!Attributes(empty, [&](std::string_view name, std::string_view value) {
          if (name == "r") {
            cell.hasR = true;
            cell.r = value;
            return First(name, true);
          }
          if (name == "t") {
            cell.t = value;
            return First(name, true);
          }
          if (name == "s") return First(name, Whole(value, 9, cell.s));
          return true;
        }))
      return false;
    if (empty) return true;
    for (;;) {
      SkipSpace();
      if (Take("</c>")) return true;
      if (Open("v")) {
        bool none = false;
        if (cell.hasV || !Attributes(none, Ignore) || !Text(none, "</v>", cell.v)) return false;
        cell.hasV = true;
        if (cell.t == "s" && !Whole(cell.v, 9, cell.vIndex)) return false;
      } else if (Open("f")) {
        bool none = false;
        seen_.clear();
        auto formulaAttribute = [&](std::string_view name, std::string_view value) {
          if (name == "t") {
            cell.fType = value;
            return First(name, true);
          }
          if (name == "si") return First(name, Whole(value, 9, cell.fSi));
          return true;
        };
        if (cell.hasF || !Attributes(none, formulaAttribute) || !Text(none, "</f>", cell.f))
          return false;
        cell.hasF = true;
      } else if (Open("is")) {
        bool none = false;
        if (cell.hasIs || !Attributes(none, Ignore) || none) return false;
        SkipSpace();
        if (!Open("t") || !Attributes(none, Ignore) || !Text(none, "</t>", cell.is)) return false;
        SkipSpace();
        if (!Take("</is>")) return false;
        cell.hasIs = true;
      } else {
        return false;
      }
    }
  }

  static bool Ignore(std::string_view, std::string_view) { return true; }

  char Peek() const { return at_ < text_.size() ? text_[at_] : '\0'; }

  // A character a value or text may not hold here: markup, a reference, or what the parser
  // changes (a carriage return becomes a line feed, a zero byte ends the text).
  static bool Unusual(char c) { return c == '<' || c == '&' || c == '\r' || c == '\0'; }

  static bool NameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
  }

  // An attribute the reader uses may stand once only (the XML parser would take the first).
  bool First(std::string_view name, bool read) {
    for (std::string_view seen : seen_) {
      if (seen == name) return false;
    }
    seen_.push_back(name);
    return read;
  }

  // Whether the text goes on with these characters.
  bool At(size_t from, std::string_view what) const {
    return text_.substr(from, what.size()) == what;
  }

  // "<name" followed by the end of the name.
  bool Open(std::string_view name) {
    size_t from = at_;
    if (Take("<") && Take(name) &&
        (Peek() == ' ' || Peek() == '>' || Peek() == '/' || Peek() == '\t' || Peek() == '\n'))
      return true;
    at_ = from;
    return false;
  }

  bool Take(std::string_view what) {
    if (!At(at_, what)) return false;
    at_ += what.size();
    return true;
  }

  void SkipSpace() {
    while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n'))
      ++at_;
  }

  // The attributes up to the end of the start tag; `empty` for "/>". Values must be plain: no
  // reference, no white space the parser would turn into spaces.
  template <class Use>
  bool Attributes(bool& empty, Use&& use) {
    for (;;) {
      SkipSpace();
      if (Take(">")) return true;
      if (Take("/>")) return empty = true;
      if (!NameStart(Peek())) return false;
      size_t name = at_;
      while (NameStart(Peek()) || (Peek() >= '0' && Peek() <= '9') || Peek() == '-' ||
             Peek() == '.')
        ++at_;
      std::string_view attribute = text_.substr(name, at_ - name);
      SkipSpace();
      if (!Take("=")) return false;
      SkipSpace();
      char quote = Peek();
      if (quote != '"' && quote != '\'') return false;
      size_t value = ++at_;
      while (at_ < text_.size() && text_[at_] != quote) {
        if (Unusual(text_[at_]) || text_[at_] == '\t' || text_[at_] == '\n') return false;
        ++at_;
      }
      if (Peek() != quote) return false;
      std::string_view read = text_.substr(value, at_++ - value);
      if (!use(attribute, read)) return false;
      // Attributes stand apart.
      if (Peek() != ' ' && Peek() != '\t' && Peek() != '\n' && Peek() != '>' && Peek() != '/')
        return false;
    }
  }

  // An element's text up to its end tag, references replaced; an element without content
  // (`empty`) has none.
  bool Text(bool empty, std::string_view end, std::string& out) {
    out.clear();
    if (empty) return true;
    for (;;) {
      size_t stop = at_;
      while (stop < text_.size() && !Unusual(text_[stop])) ++stop;
      out.append(text_.substr(at_, stop - at_));
      at_ = stop;
      if (Peek() == '<') return Take(end);
      if (Peek() != '&' || !Reference(out)) return false;  // the text's end, or no reference
    }
  }

  bool Reference(std::string& out) {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&apos;", '\''}};
    for (auto [name, character] : kNamed) {
      if (Take(name)) {
        out += character;
        return true;
      }
    }
    if (!Take("&#")) return false;
    int base = Take("x") ? 16 : 10;
    size_t semicolon = text_.find(';', at_);
    // At most eight digits before the semicolon (a missing one, npos, lies past them); no digits
    // at all fail the reading below.
    if (semicolon - at_ > 8) return false;
    uint32_t code = 0;
    auto [end, error] = std::from_chars(text_.data() + at_, text_.data() + semicolon, code, base);
    if (error != std::errc() || end != text_.data() + semicolon) return false;
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    at_ = semicolon + 1;
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
    return true;
  }

  // Digits only, at most `most` of them: what the parser reads the same way.
  template <class Number>
  static bool Whole(std::string_view value, size_t most, Number& number) {
    if (value.empty() || value.size() > most) return false;
    for (char c : value) {
      if (c < '0' || c > '9') return false;
    }
    std::from_chars(value.data(), value.data() + value.size(), number);
    return true;
  }

  // Digits with at most one point between them.
  static bool Decimal(std::string_view value, double& number) {
    size_t point = value.find('.');
    std::string_view whole = value.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : value.substr(point + 1);
    for (std::string_view part : {whole, fraction}) {
      for (char c : part) {
        if (c < '0' || c > '9') return false;
      }
    }
    // Digits and a point, at most 24: from_chars takes them all.
    if (whole.empty() || value.size() > 24) return false;
    std::from_chars(value.data(), value.data() + value.size(), number);
    return true;
  }

  static bool Flag(std::string_view value, bool& flag) {
    if (value == "1" || value == "true") return flag = true;
    if (value == "0" || value == "false") return !(flag = false);
    return false;
  }

  std::string_view text_;
  size_t at_ = 0;
  std::vector<std::string_view> seen_;
};

}  // namespace

namespace {

// Empties a row, keeping the room its cells took.
void Reset(RowXml& row) {
  std::vector<CellXml> cells = std::move(row.cells);
  cells.clear();
  row = RowXml{};
  row.cells = std::move(cells);
}

}  // namespace

bool ScanRowXml(std::string_view text, RowXml& row) {
  Reset(row);
  return RowScanner(text).Row(row);
}

void ReadRowNode(pugi::xml_node node, RowXml& row) {
  Reset(row);
  if (pugi::xml_attribute r = node.attribute("r")) {
    row.hasR = true;
    row.r = r.as_llong();
  }
  if (pugi::xml_attribute ht = node.attribute("ht")) {
    row.hasHt = true;
    row.ht = ht.as_double();
  }
  row.customHeight = node.attribute("customHeight").as_bool();
  row.customFormat = node.attribute("customFormat").as_bool();
  row.s = node.attribute("s").as_uint();
  row.hidden = node.attribute("hidden").as_bool();
  row.outlineLevel = node.attribute("outlineLevel").as_int();
  row.collapsed = node.attribute("collapsed").as_bool();
  for (pugi::xml_node c : node.children("c")) {
    CellXml& cell = row.cells.emplace_back();
    if (pugi::xml_attribute r = c.attribute("r")) {
      cell.hasR = true;
      cell.r = r.value();
    }
    cell.s = c.attribute("s").as_uint();
    cell.t = c.attribute("t").as_string();
    if (pugi::xml_node v = c.child("v")) {
      cell.hasV = true;
      cell.v = v.child_value();
      if (cell.t == "s") cell.vIndex = v.text().as_uint();
    }
    if (pugi::xml_node f = c.child("f")) {
      cell.hasF = true;
      cell.f = f.child_value();
      cell.fType = f.attribute("t").as_string();
      cell.fSi = f.attribute("si").as_int();
    }
    if (pugi::xml_node is = c.child("is")) {
      cell.hasIs = true;
      cell.is = is.child_value("t");
      for (pugi::xml_node run : is.children("r")) cell.is += run.child_value("t");
    }
  }
}

}  // namespace tavrin
