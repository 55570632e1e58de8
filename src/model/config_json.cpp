#include "model/config_json.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "model/config_check.h"
#include "model/json_strict.h"
#include "model/key_text.h"

using nlohmann::json;

namespace {

constexpr KeyCode kCodeMax = 0xFFFF;

std::string Hex(KeyCode code) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(code & kCodeMax));
  return text;
}

json CellJson(KeyCode code) {
  json modifiers = json::array();
  for (const KeyModifier& m : kKeyModifiers) {
    if ((code & m.bit) != 0) modifiers.push_back(m.word);
  }
  return {{"code", code}, {"key", FormatKeyText(code & kKeyNumberMask)}, {"modifiers", modifiers}};
}

json PinsJson(const int* pins, int count) {
  json list = json::array();
  for (int i = 0; i < count; ++i) list.push_back(std::string(1, PinLetter(pins[i])));
  return list;
}

// Collects the problems of one document, each with its place.
class Reader {
 public:
  explicit Reader(std::vector<std::string>& errors) : errors_(errors) {}

  void Error(const std::string& place, const std::string& what) { errors_.push_back(place + ": " + what); }

  // A whole number from low to high; the error names the range.
  bool WholeNumber(const json& value, const std::string& place, long long low, long long high, int& out) {
    bool ok = false;
    long long number = 0;
    if (value.is_number_unsigned()) {
      const auto u = value.get<std::uint64_t>();
      ok = u <= static_cast<std::uint64_t>(high);
      number = ok ? static_cast<long long>(u) : 0;
    } else if (value.is_number_integer()) {
      number = value.get<std::int64_t>();
      ok = true;
    }
    ok = ok && number >= low && number <= high;
    if (!ok) {
      Error(place, "expected a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
                       ", found " + value.dump());
      return false;
    }
    out = static_cast<int>(number);
    return true;
  }

  // Members outside the allowed names are mistakes (a misspelt name would be lost).
  void OnlyMembers(const json& object, const std::string& prefix, std::initializer_list<const char*> names) {
    for (const auto& item : object.items()) {
      bool known = false;
      for (const char* name : names) known = known || item.key() == name;
      if (!known) Error(prefix + item.key(), "unknown member");
    }
  }

  const json* Member(const json& object, const char* name) {
    const auto it = object.find(name);
    if (it == object.end()) {
      Error(name, "missing");
      return nullptr;
    }
    return &*it;
  }

  bool Pins(const json& list, const char* place, int count, int* pins) {
    if (!list.is_array() || static_cast<int>(list.size()) != count) {
      Error(place, "expected a list of " + std::to_string(count) + " pin letters");
      return false;
    }
    bool ok = true;
    for (int i = 0; i < count; ++i) {
      const json& pin = list[static_cast<std::size_t>(i)];
      const std::string text = pin.is_string() ? pin.get<std::string>() : std::string();
      if (text.size() == 1 && text[0] >= PinLetter(0) && text[0] <= PinLetter(kPinCount - 1)) {
        pins[i] = text[0] - PinLetter(0);
      } else {
        Error(std::string(place) + "[" + std::to_string(i) + "]", "expected a pin letter A to X, found " + pin.dump());
        ok = false;
      }
    }
    return ok;
  }

  bool Cell(const json& cell, const std::string& place, KeyCode& code) {
    if (cell.is_string()) {  // a key text, e.g. "Shift+A"
      if (ParseKeyText(cell.get<std::string>(), code)) return true;
      Error(place, "not a key text: " + cell.dump());
      return false;
    }
    if (!cell.is_object()) {
      Error(place, "expected an object or a key text");
      return false;
    }
    OnlyMembers(cell, place + ".", {"code", "key", "modifiers"});
    const std::size_t before = errors_.size();
    int whole = -1;
    if (cell.contains("code")) WholeNumber(cell["code"], place + ".code", 0, kCodeMax, whole);
    KeyCode number = -1;
    if (cell.contains("key")) {
      const json& key = cell["key"];
      KeyCode parsed = 0;
      if (key.is_string() && ParseKeyText(key.get<std::string>(), parsed) && (parsed & ~kKeyNumberMask) == 0) {
        number = parsed;
      } else {
        Error(place + ".key", "unknown key " + key.dump());
      }
    }
    KeyCode modifiers = -1;
    if (cell.contains("modifiers")) modifiers = Modifiers(cell["modifiers"], place + ".modifiers");
    if (errors_.size() != before) return false;

    if (whole < 0) {
      if (number < 0) {
        Error(place, "expected a code or a key");
        return false;
      }
      code = number | (modifiers < 0 ? 0 : modifiers);
      return true;
    }
    // Both given: each part given must match the code.
    const bool keyAgrees = number < 0 || number == (whole & kKeyNumberMask);
    const bool modifiersAgree = modifiers < 0 || modifiers == (whole & kModifierMask);
    if (!keyAgrees || !modifiersAgree) {
      const KeyCode named = (number < 0 ? whole & kKeyNumberMask : number) |
                            (modifiers < 0 ? whole & kModifierMask : modifiers);
      Error(place, "code " + Hex(whole) + " (" + FormatKeyText(whole & kCombinationMask) +
                       ") disagrees with key and modifiers (" + FormatKeyText(named) + ")");
      return false;
    }
    code = whole;
    return true;
  }

 private:
  // Modifier bits of a list of modifier words, or -1 after an error.
  KeyCode Modifiers(const json& list, const std::string& place) {
    if (!list.is_array()) {
      Error(place, "expected a list of \"Alt\", \"Shift\", \"Ctrl\"");
      return -1;
    }
    KeyCode bits = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string where = place + "[" + std::to_string(i) + "]";
      KeyCode bit = 0;
      for (const KeyModifier& m : kKeyModifiers) {
        if (list[i].is_string() && list[i].get<std::string>() == m.word) bit = m.bit;
      }
      if (bit == 0) {
        Error(where, "unknown modifier " + list[i].dump());
        return -1;
      }
      if ((bits & bit) != 0) {
        Error(where, "repeated modifier " + list[i].dump());
        return -1;
      }
      bits |= bit;
    }
    return bits;
  }

  std::vector<std::string>& errors_;
};

std::string Place(const char* list, int index) { return std::string(list) + "[" + std::to_string(index) + "]"; }

void ReadCells(Reader& reader, const json& cells, ConfigModel& model) {
  if (!cells.is_array() || static_cast<int>(cells.size()) != model.rows) {
    reader.Error("cells", "expected a list of " + std::to_string(model.rows) + " rows");
    return;
  }
  for (int r = 0; r < model.rows; ++r) {
    const json& row = cells[static_cast<std::size_t>(r)];
    const std::string place = Place("cells", r);
    if (!row.is_array() || static_cast<int>(row.size()) != model.columns) {
      reader.Error(place, "expected a list of " + std::to_string(model.columns) + " cells");
      continue;
    }
    for (int c = 0; c < model.columns; ++c) {
      reader.Cell(row[static_cast<std::size_t>(c)], place + "[" + std::to_string(c) + "]",
                  model.keys[r * kMatrixStride + c]);
    }
  }
}

void ReportSharedPins(Reader& reader, const ConfigModel& model) {
  std::vector<Finding> shared;
  FindSharedPins(model, shared);
  for (const Finding& f : shared) {
    std::string places;
    for (const LineRef& line : f.lines) {
      places += (places.empty() ? "" : ", ") + Place(line.isRow ? "rowPins" : "columnPins", line.index);
    }
    reader.Error(places, std::string("pin ") + PinLetter(f.value) + " is used by " + JoinNames(f.lines, LineName));
  }
}

// The members of a parsed document, into model.
void ReadDocument(Reader& reader, const json& root, ConfigModel& model) {
  if (!root.is_object()) {
    reader.Error("document", "expected an object");
    return;
  }
  reader.OnlyMembers(root, "", {"format", "version", "rows", "columns", "typematic", "columnPins", "rowPins", "cells"});

  if (const json* format = reader.Member(root, "format")) {
    if (*format != kJsonFormatName) reader.Error("format", std::string("expected \"") + kJsonFormatName + "\"");
  }
  if (const json* version = reader.Member(root, "version")) {
    if (!version->is_number_integer() || *version != kJsonFormatVersion) {
      reader.Error("version", "expected " + std::to_string(kJsonFormatVersion));
    }
  }
  const json* rows = reader.Member(root, "rows");
  const json* columns = reader.Member(root, "columns");
  const bool rowsOk = rows != nullptr && reader.WholeNumber(*rows, "rows", 1, kMaxLines, model.rows);
  const bool columnsOk = columns != nullptr && reader.WholeNumber(*columns, "columns", 1, kMaxLines, model.columns);
  const bool countsOk = rowsOk && columnsOk && model.rows + model.columns <= kPinCount;
  if (rowsOk && columnsOk && !countsOk) {
    reader.Error("rows, columns", "more than " + std::to_string(kPinCount) + " lines together");
  }
  if (const json* typematic = reader.Member(root, "typematic")) {
    if (typematic->is_boolean()) model.typematic = typematic->get<bool>();
    else reader.Error("typematic", "expected true or false");
  }
  const json* columnPins = reader.Member(root, "columnPins");
  const json* rowPins = reader.Member(root, "rowPins");
  const json* cells = reader.Member(root, "cells");
  if (countsOk) {
    const bool columnPinsOk =
        columnPins != nullptr && reader.Pins(*columnPins, "columnPins", model.columns, model.columnPins);
    const bool rowPinsOk = rowPins != nullptr && reader.Pins(*rowPins, "rowPins", model.rows, model.rowPins);
    if (columnPinsOk && rowPinsOk) ReportSharedPins(reader, model);
    if (cells != nullptr) ReadCells(reader, *cells, model);
  }
}

}  // namespace

std::string ExportConfigJson(const ConfigModel& model) {
  std::string text = "{\n";
  text += "  \"format\": " + json(kJsonFormatName).dump() + ",\n";
  text += "  \"version\": " + std::to_string(kJsonFormatVersion) + ",\n";
  text += "  \"rows\": " + std::to_string(model.rows) + ",\n";
  text += "  \"columns\": " + std::to_string(model.columns) + ",\n";
  text += std::string("  \"typematic\": ") + (model.typematic ? "true" : "false") + ",\n";
  text += "  \"columnPins\": " + PinsJson(model.columnPins, model.columns).dump() + ",\n";
  text += "  \"rowPins\": " + PinsJson(model.rowPins, model.rows).dump() + ",\n";
  text += "  \"cells\": [\n";
  for (int r = 0; r < model.rows; ++r) {
    text += "    [\n";
    for (int c = 0; c < model.columns; ++c) {
      text += "      " + CellJson(model.keys[r * kMatrixStride + c]).dump() + (c + 1 < model.columns ? ",\n" : "\n");
    }
    text += r + 1 < model.rows ? "    ],\n" : "    ]\n";
  }
  text += "  ]\n}\n";
  return text;
}

bool ImportConfigJson(std::string_view text, ConfigModel& model, std::vector<std::string>& errors) {
  errors.clear();
  ResetModel(model);
  Reader reader(errors);
  if (text.size() > kJsonMaxSize) {
    reader.Error("document", "larger than " + std::to_string(kJsonMaxSize) + " bytes");
    return false;
  }
  json root;
  if (!ParseJsonStrictly(text, kJsonMaxDepth, root, errors)) return false;
  // Members are read only where their type was checked; should the library still
  // object to something, that is an error of the document, not a crash.
  try {
    ReadDocument(reader, root, model);
  } catch (const json::exception& e) {
    reader.Error("document", JsonErrorText(e));
  }
  return errors.empty();
}
