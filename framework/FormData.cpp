#include "FormData.h"

#include <cctype>

#include "TextUtils.h"

namespace fw {

namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  bool ParseRoot(TFormObject& root, std::string& error) {
    bool ok = ExpectWord("object") && ParseObjectBody(root, 0);
    if (ok) {
      SkipSpace();
      if (pos_ < s_.size()) ok = Fail("text after the end of the top object");
    }
    if (!ok) error = "line " + std::to_string(errorLine_) + ": " + error_;
    return ok;
  }

 private:
  static constexpr int kMaxDepth = 64;

  bool Fail(const std::string& message) {
    if (error_.empty()) {
      error_ = message;
      errorLine_ = line_;
    }
    return false;
  }

  void SkipSpace() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  static bool IdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
  static bool IdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

  // An identifier, dotted parts allowed when dotted is set.
  bool ReadIdent(std::string& out, bool dotted) {
    SkipSpace();
    if (pos_ >= s_.size() || !IdentStart(s_[pos_])) return false;
    size_t start = pos_;
    while (pos_ < s_.size()) {
      if (IdentChar(s_[pos_])) {
        ++pos_;
      } else if (dotted && s_[pos_] == '.' && pos_ + 1 < s_.size() && IdentStart(s_[pos_ + 1])) {
        ++pos_;
      } else {
        break;
      }
    }
    out = s_.substr(start, pos_ - start);
    return true;
  }

  bool PeekWord(const char* word) {
    SkipSpace();
    size_t n = std::char_traits<char>::length(word);
    if (s_.compare(pos_, n, word) != 0) return false;
    return pos_ + n >= s_.size() || !IdentChar(s_[pos_ + n]);
  }

  bool ExpectWord(const char* word) {
    if (!PeekWord(word)) return Fail(std::string("\"") + word + "\" expected");
    pos_ += std::char_traits<char>::length(word);
    return true;
  }

  bool Expect(char c) {
    SkipSpace();
    if (pos_ >= s_.size() || s_[pos_] != c) return Fail(std::string("\"") + c + "\" expected");
    ++pos_;
    return true;
  }

  // After "object": Name: Class, properties, children, "end".
  bool ParseObjectBody(TFormObject& obj, int depth) {
    if (depth > kMaxDepth) return Fail("objects nested too deeply");
    SkipSpace();
    obj.line = line_;
    if (!ReadIdent(obj.name, false)) return Fail("object name expected");
    if (!Expect(':')) return false;
    if (!ReadIdent(obj.className, false)) return Fail("class name expected");
    for (;;) {
      SkipSpace();
      if (pos_ >= s_.size()) return Fail("\"end\" of object " + obj.name + " missing");
      if (PeekWord("end")) {
        pos_ += 3;
        return true;
      }
      if (PeekWord("object")) {
        pos_ += 6;
        obj.children.emplace_back();
        if (!ParseObjectBody(obj.children.back(), depth + 1)) return false;
        continue;
      }
      TFormProperty prop;
      if (!ParseProperty(prop, depth)) return false;
      obj.props.push_back(std::move(prop));
    }
  }

  bool ParseProperty(TFormProperty& prop, int depth) {
    SkipSpace();
    prop.line = line_;
    if (!ReadIdent(prop.name, true)) return Fail("property name expected");
    if (!Expect('=')) return false;
    return ParseValue(prop.value, depth);
  }

  bool ParseValue(TFormValue& v, int depth) {
    SkipSpace();
    v.line = line_;
    if (pos_ >= s_.size()) return Fail("value expected");
    char c = s_[pos_];
    if (c == '"') {
      v.kind = TFormValue::String;
      return ParseJoinedString(v.text);
    }
    if (c == '-' || c == '$' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = TFormValue::Integer;
      return ParseInteger(v.integer);
    }
    if (IdentStart(c)) {
      v.kind = TFormValue::Ident;
      ReadIdent(v.text, true);
      return true;
    }
    if (c == '[') {
      ++pos_;
      v.kind = TFormValue::Set;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == ']') {
        ++pos_;
        return true;
      }
      for (;;) {
        std::string ident;
        if (!ReadIdent(ident, false)) return Fail("set element expected");
        v.items.push_back(ident);
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == ',') {
          ++pos_;
          continue;
        }
        return Expect(']');
      }
    }
    if (c == '(') {
      ++pos_;
      v.kind = TFormValue::List;
      for (;;) {
        SkipSpace();
        if (pos_ >= s_.size()) return Fail("\")\" expected");
        if (s_[pos_] == ')') {
          ++pos_;
          return true;
        }
        std::string item;
        if (s_[pos_] != '"') return Fail("string expected in list");
        if (!ParseJoinedString(item)) return false;
        v.items.push_back(std::move(item));
      }
    }
    if (c == '{') {
      ++pos_;
      v.kind = TFormValue::Binary;
      int high = -1;
      for (;;) {
        SkipSpace();
        if (pos_ >= s_.size()) return Fail("\"}\" expected");
        char h = s_[pos_];
        if (h == '}') {
          ++pos_;
          if (high >= 0) return Fail("odd number of hexadecimal digits");
          return true;
        }
        int d = HexDigit(h);
        if (d < 0) return Fail("hexadecimal digit expected in binary data");
        ++pos_;
        if (high < 0) {
          high = d;
        } else {
          v.bytes.push_back(static_cast<uint8_t>(high * 16 + d));
          high = -1;
        }
      }
    }
    if (c == '<') {
      ++pos_;
      v.kind = TFormValue::Collection;
      for (;;) {
        SkipSpace();
        if (pos_ < s_.size() && s_[pos_] == '>') {
          ++pos_;
          return true;
        }
        if (!ExpectWord("item")) return false;
        std::vector<TFormProperty> item;
        for (;;) {
          SkipSpace();
          if (pos_ >= s_.size()) return Fail("\"end\" of item missing");
          if (PeekWord("end")) {
            pos_ += 3;
            break;
          }
          TFormProperty p;
          if (depth > kMaxDepth) return Fail("values nested too deeply");
          if (!ParseProperty(p, depth + 1)) return false;
          item.push_back(std::move(p));
        }
        v.collection.push_back(std::move(item));
      }
    }
    return Fail(std::string("unexpected character '") + c + "'");
  }

  static int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  bool ParseInteger(int64_t& out) {
    bool negative = false;
    if (s_[pos_] == '-') {
      negative = true;
      ++pos_;
    }
    int base = 10;
    if (pos_ < s_.size() && s_[pos_] == '$') {
      base = 16;
      ++pos_;
    }
    uint64_t value = 0;
    size_t digits = 0;
    while (pos_ < s_.size()) {
      int d = base == 16 ? HexDigit(s_[pos_])
                         : (std::isdigit(static_cast<unsigned char>(s_[pos_])) ? s_[pos_] - '0' : -1);
      if (d < 0) break;
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (value > 0xFFFFFFFFull) return Fail("number out of range");
      ++digits;
      ++pos_;
    }
    if (digits == 0) return Fail("digits expected");
    if (pos_ < s_.size() && IdentChar(s_[pos_])) return Fail("malformed number");
    if (base == 16) {
      // $FFFFFFFF spells the 32-bit pattern.
      out = static_cast<int32_t>(static_cast<uint32_t>(value));
      if (negative) out = -out;
    } else {
      if (value > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return Fail("number out of range");
      out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
    }
    return true;
  }

  // "..." [+ "..."]*
  bool ParseJoinedString(std::string& out) {
    out.clear();
    for (;;) {
      if (!ParseString(out)) return false;
      SkipSpace();
      if (pos_ < s_.size() && s_[pos_] == '+') {
        ++pos_;
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '"') return Fail("string expected after \"+\"");
        continue;
      }
      return true;
    }
  }

  bool ParseString(std::string& out) {
    ++pos_;  // opening quote
    while (pos_ < s_.size()) {
      char c = s_[pos_++];
      if (c == '"') return true;
      if (c == '\n') return Fail("string not closed on its line");
      if (IsGbkLeadByte(static_cast<unsigned char>(c)) && pos_ < s_.size() &&
          IsGbkTrailByte(static_cast<unsigned char>(s_[pos_]))) {
        // A GBK character written directly: its trail byte may be '\\'.
        out += c;
        out += s_[pos_++];
        continue;
      }
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) break;
      char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x': {
          int h = pos_ < s_.size() ? HexDigit(s_[pos_]) : -1;
          int l = pos_ + 1 < s_.size() ? HexDigit(s_[pos_ + 1]) : -1;
          if (h < 0 || l < 0) return Fail("\\x needs two hexadecimal digits");
          out += static_cast<char>(h * 16 + l);
          pos_ += 2;
          break;
        }
        default: return Fail(std::string("unknown escape \\") + e);
      }
    }
    return Fail("string not closed");
  }

  const std::string& s_;
  size_t pos_ = 0;
  int line_ = 1;
  std::string error_;
  int errorLine_ = 0;
};

}  // namespace

bool ParseFormData(const std::string& text, TFormObject& root, std::string& error) {
  root = TFormObject();
  Parser parser(text);
  return parser.ParseRoot(root, error);
}

}  // namespace fw
