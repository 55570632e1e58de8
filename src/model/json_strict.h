// Parsing a JSON document strictly, for imports that people edit by hand: what
// the JSON library would take silently (a repeated member, anything after the
// document) is an error, and no error of the library escapes as an exception.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>
#include <vector>

// Parses text into root. Returns false with every problem found in errors, each
// with its place: "rows: repeated member", "document: parse error at line 2,
// column 5: ...". Documents nested deeper than maxDepth are refused unparsed.
bool ParseJsonStrictly(std::string_view text, int maxDepth, nlohmann::json& root, std::vector<std::string>& errors);

// The library's message without its "[json.exception...] " tag.
std::string JsonErrorText(const nlohmann::json::exception& error);
