// The player's title-formatting language: a recursive reading of the template that evaluates
// as it reads, so a syntax error anywhere gives the error text for the whole result.
#include "titleFormat.h"

#include <windows.h>

#include <vector>

#include "wideText.h"

const char kFormatSyntaxError[] = "[SYNTAX ERROR IN FORMATTING STRING]";
const char kFormatUnknownFunction[] = "[UNKNOWN FUNCTION]";

namespace {

// A formatted piece, and whether a tag inside it had a value (what [sections] and $if ask).
struct Piece {
  std::string text;
  bool tagWithValue = false;
  void add(const Piece& other) {
    text += other.text;
    tagWithValue = tagWithValue || other.tagWithValue;
  }
};

// Where a sequence stands: it ends at the template's end, at a section's ']', or at an
// argument's ',' or ')'.
enum Context { kTop, kSection, kArgument };

struct SyntaxError {};

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string lowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
  return text;
}

std::string changeCase(const std::string& utf8, bool upper) {
  std::wstring wide = widen(utf8);
  if (wide.empty()) return utf8;
  if (upper)
    CharUpperBuffW(&wide[0], (DWORD)wide.size());
  else
    CharLowerBuffW(&wide[0], (DWORD)wide.size());
  return narrow(wide);
}

class Reader {
 public:
  Reader(const std::string& text, const TagValueSource& tagValue) : s_(text), tagValue_(tagValue) {}

  Piece whole() {
    Piece piece = sequence(kTop);
    if (at_ < s_.size()) throw SyntaxError();
    return piece;
  }

 private:
  Piece sequence(Context context) {
    Piece piece;
    while (at_ < s_.size()) {
      char c = s_[at_];
      if (c == ']') {
        if (context != kSection) throw SyntaxError();
        return piece;
      }
      if (c == ')') {
        if (context != kArgument) throw SyntaxError();
        return piece;
      }
      if (c == ',' && context == kArgument) return piece;
      if (c == '(') throw SyntaxError();  // only a function's name may open one
      if (c == '%')
        piece.add(tag());
      else if (c == '\'')
        piece.text += literal();
      else if (c == '[')
        piece.add(section());
      else if (c == '$')
        piece.add(function());
      else {
        piece.text += c;
        ++at_;
      }
    }
    if (context != kTop) throw SyntaxError();  // an unclosed section or argument list
    return piece;
  }

  Piece tag() {
    size_t close = s_.find('%', at_ + 1);
    if (close == std::string::npos) throw SyntaxError();
    std::string name = s_.substr(at_ + 1, close - at_ - 1);
    at_ = close + 1;
    Piece piece;
    if (name.empty()) {
      piece.text = "%";
      return piece;
    }
    std::string value;
    if (tagValue_(name, &value) && !value.empty()) {
      piece.text = value;
      piece.tagWithValue = true;
    }
    return piece;
  }

  std::string literal() {
    if (at_ + 1 < s_.size() && s_[at_ + 1] == '\'') {
      at_ += 2;
      return "'";
    }
    size_t close = s_.find('\'', at_ + 1);
    if (close == std::string::npos) throw SyntaxError();
    std::string text = s_.substr(at_ + 1, close - at_ - 1);
    at_ = close + 1;
    return text;
  }

  Piece section() {
    ++at_;
    Piece inside = sequence(kSection);
    if (at_ >= s_.size()) throw SyntaxError();
    ++at_;  // the ']'
    return inside.tagWithValue ? inside : Piece();
  }

  Piece function() {
    size_t nameAt = ++at_;
    while (at_ < s_.size() && isNameChar(s_[at_])) ++at_;
    std::string name = lowerAscii(s_.substr(nameAt, at_ - nameAt));
    if (name.empty() || at_ >= s_.size() || s_[at_] != '(') throw SyntaxError();
    ++at_;
    std::vector<Piece> args;
    for (;;) {
      args.push_back(sequence(kArgument));
      if (at_ >= s_.size()) throw SyntaxError();
      if (s_[at_++] == ')') break;
    }
    return call(name, args);
  }

  static Piece call(const std::string& name, std::vector<Piece>& args) {
    Piece none;
    auto arg = [&](size_t i) -> const Piece& { return i < args.size() ? args[i] : none; };
    if (name == "if") return arg(0).tagWithValue ? arg(1) : arg(2);
    if (name == "if2") return arg(0).tagWithValue ? arg(0) : arg(1);
    if (name == "upper" || name == "lower") {
      Piece piece = arg(0);
      piece.text = changeCase(piece.text, name == "upper");
      return piece;
    }
    if (name == "len") {
      Piece piece;
      piece.text = std::to_string(widen(arg(0).text).size());
      piece.tagWithValue = arg(0).tagWithValue;
      return piece;
    }
    Piece unknown;
    unknown.text = kFormatUnknownFunction;
    return unknown;
  }

  const std::string& s_;
  const TagValueSource& tagValue_;
  size_t at_ = 0;
};

}  // namespace

std::string formatTitle(const std::string& templateText, const TagValueSource& tagValue) {
  try {
    return Reader(templateText, tagValue).whole().text;
  } catch (const SyntaxError&) {
    return kFormatSyntaxError;
  }
}

std::string blankLineBreaks(std::string text) {
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}
