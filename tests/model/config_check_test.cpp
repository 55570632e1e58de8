#include "model/config_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

ConfigImage Encoded(const ConfigModel& model) {
  ConfigImage image{};
  EXPECT_TRUE(EncodeImage(model, image, nullptr));
  return image;
}

ConfigModel Defaults() {
  ConfigModel model;
  ResetModel(model);
  return model;
}

std::vector<std::string> Texts(const std::vector<Finding>& findings) {
  std::vector<std::string> texts;
  for (const Finding& f : findings) texts.push_back(FindingText(f));
  return texts;
}

std::vector<std::string> CheckBytes(const ConfigImage& image, std::size_t size = kImageSize) {
  return Texts(CheckImageBytes(image.data(), size));
}

using Lines = std::vector<std::string>;

TEST(CheckImageBytes, NotAConfigurationNamesTheFirstFailedRule) {
  ConfigImage image = Encoded(Defaults());
  EXPECT_EQ(CheckBytes(image), Lines{});
  EXPECT_EQ(CheckBytes(image, 100), Lines{"not a configuration: too short, 100 of 512 bytes"});
  EXPECT_EQ(CheckBytes(image, 0), Lines{"not a configuration: too short, 0 of 512 bytes"});

  const struct { int byte; int value; const char* text; } cases[] = {
      {kImageRows, 0, "not a configuration: rows 0, not 1 to 23"},
      {kImageColumns, 24, "not a configuration: columns 24, not 1 to 23"},
      {kImageRows, 13, "not a configuration: rows and columns 25, more than 24"},
      {kImagePinArea + 14, 25, "not a configuration: pin byte of Row 3 is 25, not 1 to 24"},
      {kImagePinArea, 0, "not a configuration: pin byte of Column 1 is 0, not 1 to 24"},
  };
  for (const auto& c : cases) {
    ConfigImage bad = image;
    bad[c.byte] = static_cast<std::uint8_t>(c.value);
    EXPECT_EQ(CheckBytes(bad), Lines{c.text}) << c.text;
  }
}

TEST(CheckImageBytes, FindsSharedPinsDuplicatesAndUnnamedKeys) {
  ConfigModel model = Defaults();
  model.keys[0] = 0x021F;                       // Row 1 Col 1: Shift+A
  model.keys[2 * kMatrixStride + 4] = 0x821F;   // Row 3 Col 5: same keys, other bits 11-15
  model.keys[11 * kMatrixStride + 11] = 0x021F; // Row 12 Col 12
  model.keys[1] = 0x001F;                       // plain A is another combination
  model.keys[5] = 0x005E;                       // Row 1 Col 6: #94
  model.keys[6] = 0x0100;                       // modifier without a key: empty
  model.keys[7] = 0x0200;
  EXPECT_EQ(CheckBytes(Encoded(model)), (Lines{
                                            "key Shift+A in Row 1 Col 1, Row 3 Col 5 and Row 12 Col 12",
                                            "key number without a name #94 in Row 1 Col 6",
                                            "key Shift+A [0x821F] in Row 3 Col 5: the button does not show bits 11 to 15",
                                        }));
  // Row 8 and Row 12 both on pin X, and columns 2 and 3 both on pin B: the image
  // loads, and the check names both lines of each pin.
  ConfigImage image = Encoded(Defaults());
  image[kImagePinArea + 12 + 7] = 24;
  image[kImagePinArea + 2] = 2;
  EXPECT_EQ(CheckBytes(image), (Lines{
                                   "pin B: Column 2 and Column 3",
                                   "pin X: Row 8 and Row 12",
}));
}

TEST(CheckImageBytes, FindingsCarryTheirCells) {
  ConfigModel model = Defaults();
  model.keys[3 * kMatrixStride + 2] = 0x06FF;
  model.keys[4 * kMatrixStride + 1] = 0x06FF;
  model.keys[12] = 0x0041;  // hidden cells: neither duplicates nor unnamed
  model.keys[13] = 0x0041;
  model.keys[12 * kMatrixStride] = 0x06FF;
  const std::vector<Finding> findings = CheckConfig(model);
  ASSERT_EQ(findings.size(), 2u);
  EXPECT_EQ(findings[0].kind, FindingKind::kDuplicateKey);
  EXPECT_EQ(findings[1].kind, FindingKind::kUnnamedKey);
  EXPECT_EQ(findings[1].value, 0x06FF);
  ASSERT_EQ(findings[1].cells.size(), 2u);
  EXPECT_EQ(findings[1].cells[1].row, 4);
  EXPECT_EQ(findings[1].cells[1].column, 1);
}

// Valid codes that a button cannot show whole are notes, grouped by the whole code.
TEST(CheckImageBytes, NotesCodesTheButtonsDoNotShowWhole) {
  ConfigModel model = Defaults();
  model.keys[0] = 0x071F;                       // Alt+Shift+Ctrl+A
  model.keys[1] = 0x0300;                       // Shift+Ctrl without a key: shown whole
  model.keys[2] = 0x0600;                       // Alt+Shift alone: shown whole
  model.keys[3] = 0x0700;                       // all three without a key
  model.keys[kMatrixStride] = 0x071F;           // Row 2 Col 1: the same code again
  model.keys[kMatrixStride + 1] = 0x0800;       // bit 11 on an empty cell
  model.keys[2 * kMatrixStride] = 0xF71F;       // both at once
  model.keys[12] = 0x8000;                      // beyond the counts
  const std::vector<Finding> findings = CheckConfig(model);
  EXPECT_EQ(Texts(findings), (Lines{
      "key Alt+Shift+Ctrl+A in Row 1 Col 1, Row 2 Col 1 and Row 3 Col 1",
      "key Alt+Shift+Ctrl+A in Row 1 Col 1 and Row 2 Col 1: the button shows only Alt and Shift",
      "key Alt+Shift+Ctrl+- in Row 1 Col 4: the button shows only Alt and Shift",
      "key Alt+Shift+Ctrl+A [0xF71F] in Row 3 Col 1: the button shows only Alt and Shift",
      "key - [0x0800] in Row 2 Col 2: the button does not show bits 11 to 15",
      "key Alt+Shift+Ctrl+A [0xF71F] in Row 3 Col 1: the button does not show bits 11 to 15",
  }));
  EXPECT_TRUE(HasProblem(findings));
  EXPECT_FALSE(HasProblem({findings.begin() + 1, findings.end()}));
}

}  // namespace
