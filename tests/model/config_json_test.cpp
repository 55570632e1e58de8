#include "model/config_json.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

namespace {

// A configuration the editor can save: counts in range, every line on its own pin,
// any 16-bit code in the cells.
ConfigModel RandomConfig(std::mt19937& random) {
  ConfigModel model;
  ResetModel(model);
  model.rows = std::uniform_int_distribution<int>(1, kMaxLines)(random);
  model.columns = std::uniform_int_distribution<int>(1, kPinCount - model.rows)(random);
  model.typematic = random() % 2 == 0;
  std::vector<int> pins(kPinCount);
  std::iota(pins.begin(), pins.end(), 0);
  std::shuffle(pins.begin(), pins.end(), random);
  for (int i = 0; i < model.columns; ++i) model.columnPins[i] = pins[i];
  for (int i = 0; i < model.rows; ++i) model.rowPins[i] = pins[model.columns + i];
  for (KeyCode& key : model.keys) {
    // Mostly plain keys, some with any bits at all.
    key = random() % 4 == 0 ? static_cast<KeyCode>(random() & 0xFFFF) : static_cast<KeyCode>(random() % 128);
  }
  return model;
}

TEST(ConfigJson, ExportThenImportGivesTheSameFileBytes) {
  std::mt19937 random(57);
  for (int round = 0; round < 300; ++round) {
    const ConfigModel original = RandomConfig(random);
    ConfigImage saved{};
    ASSERT_TRUE(EncodeImage(original, saved, nullptr));

    ConfigModel imported;
    std::vector<std::string> errors;
    ASSERT_TRUE(ImportConfigJson(ExportConfigJson(original), imported, errors))
        << (errors.empty() ? "" : errors.front());
    ConfigImage again{};
    ASSERT_TRUE(EncodeImage(imported, again, nullptr));
    ASSERT_EQ(saved, again) << "round " << round;
  }
}

std::vector<std::string> ImportErrors(const std::string& text) {
  ConfigModel model;
  std::vector<std::string> errors;
  EXPECT_FALSE(ImportConfigJson(text, model, errors)) << text;
  return errors;
}

// A 1 x 2 document with the given cells and pins.
std::string Doc(const std::string& cells, const std::string& pins = R"("columnPins": ["A", "B"], "rowPins": ["C"])") {
  return R"({"format": "rq57-config", "version": 1, "rows": 1, "columns": 2, "typematic": true, )" + pins +
         R"(, "cells": [[)" + cells + "]]}";
}

TEST(ConfigJson, ReadsCellsByCodeByNameAndByText) {
  ConfigModel model;
  std::vector<std::string> errors;
  ASSERT_TRUE(ImportConfigJson(Doc(R"({"key": "A", "modifiers": ["Ctrl", "Shift"]}, "Alt+#94 [0x8C5E]")"), model,
                               errors));
  EXPECT_EQ(model.keys[0], 0x031F);
  EXPECT_EQ(model.keys[1], 0x8C5E);
  EXPECT_TRUE(model.typematic);
  EXPECT_EQ(model.rowPins[0], 2);
  ASSERT_TRUE(ImportConfigJson(Doc(R"({"code": 33311, "key": "A"}, {"code": 0})"), model, errors));
  EXPECT_EQ(model.keys[0], 0x821F);
}

TEST(ConfigJson, ReportsEveryErrorWithItsPlace) {
  using Lines = std::vector<std::string>;
  EXPECT_EQ(ImportErrors(Doc(R"({"key": "Foo"}, {"code": 543, "key": "B", "modifiers": ["Shift"]})")),
            (Lines{R"(cells[0][0].key: unknown key "Foo")",
                   "cells[0][1]: code 0x021F (Shift+A) disagrees with key and modifiers (Shift+B)"}));
  EXPECT_EQ(ImportErrors(Doc(R"({"code": 70000, "modifiers": ["Meta"]}, {"modifiers": []})")),
            (Lines{"cells[0][0].code: expected a whole number from 0 to 65535, found 70000",
                   R"(cells[0][0].modifiers[0]: unknown modifier "Meta")", "cells[0][1]: expected a code or a key"}));
  EXPECT_EQ(ImportErrors(Doc(R"("A", "A")", R"("columnPins": ["B", "Y"], "rowPins": ["B"])")),
            (Lines{R"(columnPins[1]: expected a pin letter A to X, found "Y")"}));
  EXPECT_EQ(ImportErrors(Doc(R"("A", "A")", R"("columnPins": ["B", "C"], "rowPins": ["B"])")),
            (Lines{"columnPins[0], rowPins[0]: pin B is used by Column 1 and Row 1"}));
  EXPECT_EQ(ImportErrors(R"({"format": "other", "version": 2, "rows": 20, "columns": 5, "typematic": 1, "colour": 3})"),
            (Lines{"colour: unknown member", R"(format: expected "rq57-config")", "version: expected 1",
                   "rows, columns: more than 24 lines together", "typematic: expected true or false",
                   "columnPins: missing", "rowPins: missing", "cells: missing"}));
  EXPECT_EQ(ImportErrors(Doc(R"("A")")), (Lines{"cells[0]: expected a list of 2 cells"}));
}

TEST(ConfigJson, RefusesBrokenHugeAndDeepDocuments) {
  for (const std::string& text : {std::string(), std::string("{"), std::string("[1, 2]"), std::string("nul")}) {
    const auto errors = ImportErrors(text);
    ASSERT_EQ(errors.size(), 1u) << text;
    EXPECT_EQ(errors[0].rfind("document: ", 0), 0u) << errors[0];
  }
  // What the JSON library takes silently or throws is an error with its place.
  const struct {
    std::string text;
    std::string error;
  } strict[] = {
      {Doc(R"("A", "A")").insert(1, R"("rows": 1, )"), "rows: repeated member"},
      {Doc(R"("A", {"code": 1, "key": "A", "code": 2})"), "cells[0][1].code: repeated member"},
      {Doc(R"("A", "B")") + std::string("\0junk", 5), "document: a NUL byte at line 1, column 151"},
      {Doc(R"("A", "B")").replace(37, 1, "1.0"), "version: expected 1"},
      {Doc(R"({"code": 1e400}, "B")"), "document: number overflow parsing '1e400' at line 1, column 154"},
  };
  for (const auto& c : strict) EXPECT_EQ(ImportErrors(c.text).front(), c.error) << c.text;
  EXPECT_EQ(ImportErrors(std::string(kJsonMaxSize + 1, ' ')),
            std::vector<std::string>{"document: larger than 1048576 bytes"});
  // Deep nesting is refused before the parser sees it; brackets inside strings do not count.
  EXPECT_EQ(ImportErrors(std::string(100000, '[')), std::vector<std::string>{"document: nested deeper than 16"});
  const auto errors = ImportErrors(R"({"format": "[[[[[[[[[[[[[[[[[[[[[[[[[[[["})");
  EXPECT_EQ(errors.front(), R"(format: expected "rq57-config")");
}

}  // namespace
