#include "model/json_strict.h"

#include <algorithm>
#include <set>

namespace {

using nlohmann::json;
using DomParser = nlohmann::detail::json_sax_dom_parser<json>;

constexpr char kDocument[] = "document: ";

// Nesting depth of the document, counted without parsing; strings are skipped.
int NestingDepth(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') ++i;
      else if (c == '"') inString = false;
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

// " at line 2, column 5" for a byte offset into text.
std::string LineAndColumn(std::string_view text, std::size_t offset) {
  offset = std::min(offset, text.size());
  const std::size_t lineStart = text.rfind('\n', offset == 0 ? 0 : offset - 1);
  const std::size_t line = 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + offset, '\n'));
  const std::size_t column = lineStart == std::string_view::npos || offset == 0 ? offset : offset - lineStart - 1;
  return " at line " + std::to_string(line) + ", column " + std::to_string(column + 1);
}

// Builds the document as the library does, and also finds repeated members
// (naming their place) and keeps the position of every library error.
class StrictParser : public DomParser {
 public:
  StrictParser(json& document, std::string_view text, std::vector<std::string>& errors)
      : DomParser(document, false), text_(text), errors_(errors) {}

  bool null() { return Element() && DomParser::null(); }
  bool boolean(bool value) { return Element() && DomParser::boolean(value); }
  bool number_integer(number_integer_t value) { return Element() && DomParser::number_integer(value); }
  bool number_unsigned(number_unsigned_t value) { return Element() && DomParser::number_unsigned(value); }
  bool number_float(number_float_t value, const string_t& text) {
    return Element() && DomParser::number_float(value, text);
  }
  bool string(string_t& value) { return Element() && DomParser::string(value); }
  bool binary(binary_t& value) { return Element() && DomParser::binary(value); }
  bool start_object(std::size_t size) {
    Element();
    frames_.push_back({true, {}, {}, 0});
    return DomParser::start_object(size);
  }
  bool key(string_t& name) {
    Frame& frame = frames_.back();
    frame.key = name;
    if (!frame.keys.insert(name).second) errors_.push_back(Place() + ": repeated member");
    return DomParser::key(name);
  }
  bool end_object() {
    frames_.pop_back();
    return DomParser::end_object();
  }
  bool start_array(std::size_t size) {
    Element();
    frames_.push_back({false, {}, {}, 0});
    return DomParser::start_array(size);
  }
  bool end_array() {
    frames_.pop_back();
    return DomParser::end_array();
  }
  template <class Exception>
  bool parse_error(std::size_t position, const std::string& token, const Exception& error) {
    // Syntax errors name their line and column themselves; others (a number out
    // of range) get them here.
    std::string what = JsonErrorText(error);
    if (what.find(" at line ") == std::string::npos) what += LineAndColumn(text_, position);
    errors_.push_back(kDocument + what);
    return DomParser::parse_error(position, token, error);
  }

 private:
  struct Frame {
    bool object;
    std::set<std::string> keys;  // members so far
    std::string key;             // the member being read
    std::size_t elements;        // array elements so far
  };

  // Counts a value as the next element of the array being read.
  bool Element() {
    if (!frames_.empty() && !frames_.back().object) ++frames_.back().elements;
    return true;
  }

  // Where the value being read is: "cells[0][1].code".
  std::string Place() const {
    std::string place;
    for (const Frame& frame : frames_) {
      if (frame.object) place += (place.empty() ? "" : ".") + frame.key;
      else place += "[" + std::to_string(frame.elements - 1) + "]";
    }
    return place;
  }

  std::string_view text_;
  std::vector<std::string>& errors_;
  std::vector<Frame> frames_;
};

}  // namespace

std::string JsonErrorText(const nlohmann::json::exception& error) {
  const std::string what = error.what();
  const std::size_t tag = what.find("] ");
  return tag == std::string::npos ? what : what.substr(tag + 2);
}

bool ParseJsonStrictly(std::string_view text, int maxDepth, json& root, std::vector<std::string>& errors) {
  const std::size_t before = errors.size();
  if (NestingDepth(text) > maxDepth) {
    errors.push_back(kDocument + std::string("nested deeper than ") + std::to_string(maxDepth));
    return false;
  }
  // The library reads a NUL byte as the end of the text; JSON allows none anywhere.
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) {
    errors.push_back(kDocument + std::string("a NUL byte") + LineAndColumn(text, nul));
    return false;
  }
  StrictParser parser(root, text, errors);
  json::sax_parse(text, &parser);
  return errors.size() == before;
}
