#include "model/config.h"
#include "model/same_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

ConfigModel NewModel() {
  ConfigModel model;
  ResetModel(model);
  return model;
}

ConfigImage Encoded(const ConfigModel& model) {
  ConfigImage image;
  int shared = -1;
  EXPECT_TRUE(EncodeImage(model, image, &shared));
  return image;
}

TEST(ResetModel, DefaultsAndSparePins) {
  ConfigModel model;
  model.modified = true;
  model.keys[100] = 0x1F;
  ResetModel(model);
  EXPECT_EQ(model.rows, 12);
  EXPECT_EQ(model.columns, 12);
  EXPECT_FALSE(model.typematic);
  EXPECT_FALSE(model.modified);
  EXPECT_EQ(model.keys[100], 0);
  const int columns[23] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13};
  const int rows[23] = {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
  EXPECT_EQ(std::memcmp(model.columnPins, columns, sizeof columns), 0);
  EXPECT_EQ(std::memcmp(model.rowPins, rows, sizeof rows), 0);
}

TEST(ResetModel, EveryPairOfCountsHasDistinctDefaultPins) {
  for (int rows = 1; rows <= 23; ++rows) {
    for (int columns = 1; columns <= 23 && rows + columns <= 24; ++columns) {
      ConfigModel model = NewModel();
      model.rows = rows;
      model.columns = columns;
      ConfigImage image;
      int shared = -1;
      EXPECT_TRUE(EncodeImage(model, image, &shared)) << rows << " x " << columns;
    }
  }
}

TEST(EncodeImage, NewConfiguration) {
  ConfigModel model = NewModel();
  ConfigImage image = Encoded(model);
  for (int i = 0; i < 480; ++i) ASSERT_EQ(image[i], 0) << i;
  for (int i = 0; i < 24; ++i) EXPECT_EQ(image[480 + i], i + 1) << i;
  EXPECT_EQ(image[504], 0x52);
  EXPECT_EQ(image[505], 0);
  EXPECT_EQ(image[506], 0);
  EXPECT_EQ(image[507], 0);
  EXPECT_EQ(image[508], 12);
  EXPECT_EQ(image[509], 12);
  EXPECT_EQ(image[510], 0);
  EXPECT_EQ(image[511], 0);

  model.typematic = true;
  ConfigImage typematic = Encoded(model);
  image[507] = 0x40;
  EXPECT_EQ(typematic, image);
}

TEST(EncodeImage, KeyDataIsOrderedByPinNotByListPosition) {
  // Columns on C, A and rows on B, D: column 2 (pin A) is the first block.
  ConfigModel model = NewModel();
  model.columns = 2;
  model.rows = 2;
  model.columnPins[0] = 2;
  model.columnPins[1] = 0;
  model.rowPins[0] = 1;
  model.rowPins[1] = 3;
  model.keys[0 * 23 + 1] = 0x0111;  // row 1, column 2
  model.keys[1 * 23 + 1] = 0x0222;  // row 2, column 2
  model.keys[0 * 23 + 0] = 0x0433;  // row 1, column 1
  model.keys[1 * 23 + 0] = 0xF944;  // row 2, column 1: high bits carried
  ConfigImage image = Encoded(model);
  const std::uint8_t expected[8] = {0x01, 0x11, 0x02, 0x22, 0x04, 0x33, 0xF9, 0x44};
  EXPECT_EQ(std::memcmp(image.data(), expected, 8), 0);
  for (int i = 8; i < 480; ++i) ASSERT_EQ(image[i], 0) << i;
  EXPECT_EQ(image[480], 3);
  EXPECT_EQ(image[481], 1);
  EXPECT_EQ(image[482], 2);
  EXPECT_EQ(image[483], 4);
  EXPECT_EQ(image[484], 0);
  EXPECT_EQ(image[508], 2);
  EXPECT_EQ(image[509], 2);
}

TEST(EncodeImage, KeyDataLengthFollowsTheCounts) {
  const struct { int rows, columns, bytes; } cases[] = {{23, 1, 46}, {12, 12, 288}, {1, 1, 2}, {1, 23, 46}};
  for (const auto& c : cases) {
    ConfigModel model = NewModel();
    model.rows = c.rows;
    model.columns = c.columns;
    for (KeyCode& key : model.keys) key = 0x0101;  // non-zero in both bytes
    ConfigImage image = Encoded(model);
    for (int i = 0; i < 480; ++i) {
      ASSERT_EQ(image[i] != 0, i < c.bytes) << c.rows << "x" << c.columns << " byte " << i;
    }
  }
}

TEST(EncodeImage, SharedPinIsReportedAtItsEarliestListPosition) {
  const struct {
    const char* what;
    int columns, rows;
    std::vector<int> columnPins, rowPins;
    int pin;
  } cases[] = {
      {"column and row on C", 2, 2, {0, 2}, {2, 5}, 2},
      {"two columns on X", 3, 1, {23, 1, 23}, {4}, 23},
      {"two rows on A", 1, 3, {5}, {0, 7, 0}, 0},
      // Columns first, then rows: the row pair E/E comes later than the column-row pair B/B.
      {"two different shared pins", 2, 3, {3, 1}, {4, 1, 4}, 1},
      {"earliest first position, then earliest partner", 3, 2, {6, 7, 7}, {6, 9}, 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ConfigModel model = NewModel();
    model.columns = c.columns;
    model.rows = c.rows;
    for (std::size_t i = 0; i < c.columnPins.size(); ++i) model.columnPins[i] = c.columnPins[i];
    for (std::size_t i = 0; i < c.rowPins.size(); ++i) model.rowPins[i] = c.rowPins[i];
    for (KeyCode& key : model.keys) key = 0x1F;
    ConfigImage image;
    image.fill(0xAA);
    int shared = -1;
    const ConfigModel before = model;
    EXPECT_FALSE(EncodeImage(model, image, &shared));
    EXPECT_EQ(shared, c.pin);
    for (int i = 0; i < kImageSize; ++i) ASSERT_EQ(image[i], 0) << i;
    EXPECT_TRUE(SameModel(model, before));
  }
}

TEST(EncodeImage, PinsBeyondTheCountsMayRepeat) {
  ConfigModel model = NewModel();
  model.rows = 2;
  model.columns = 2;
  model.columnPins[5] = 0;
  model.rowPins[7] = 0;
  int shared = -1;
  ConfigImage image;
  EXPECT_TRUE(EncodeImage(model, image, &shared));
  EXPECT_EQ(shared, -1);
}

ConfigImage ValidImage(int rows, int columns) {
  ConfigImage image{};
  image[508] = static_cast<std::uint8_t>(rows);
  image[509] = static_cast<std::uint8_t>(columns);
  for (int i = 0; i < rows + columns; ++i) image[480 + i] = static_cast<std::uint8_t>(i + 1);
  image[504] = 0x52;
  return image;
}

TEST(DecodeImage, RefusesAndLeavesEverythingUntouched) {
  const struct { const char* what; int offset; std::uint8_t value; } cases[] = {
      {"rows 0", 508, 0},        {"rows 24", 508, 24},       {"columns 0", 509, 0},
      {"columns 24", 509, 24},   {"sum 25", 509, 13},        {"first pin 0", 480, 0},
      {"last row pin 25", 503, 25}, {"column pin 255", 485, 255},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ConfigImage image = ValidImage(12, 12);
    image[c.offset] = c.value;
    ConfigModel model = NewModel();
    model.modified = true;
    model.keys[5] = 0x42;
    const ConfigModel before = model;
    EXPECT_FALSE(DecodeImage(image, model));
    EXPECT_TRUE(SameModel(model, before));
  }
}

TEST(DecodeImage, AcceptsWhatTheRulesDoNotLookAt) {
  ConfigImage image = ValidImage(2, 3);
  image[485] = 0;     // pin byte beyond the lines in use
  image[490] = 200;
  image[504] = 0x00;  // any marker
  image[505] = 0xFF;
  image[507] = 0xBF;  // other flag bits, typematic bit clear
  image[0] = 0xFF;    // any key data
  ConfigModel model = NewModel();
  model.modified = true;
  ASSERT_TRUE(DecodeImage(image, model));
  EXPECT_EQ(model.rows, 2);
  EXPECT_EQ(model.columns, 3);
  EXPECT_FALSE(model.typematic);
  EXPECT_TRUE(model.modified);  // the caller clears it
  image[507] = 0x40;
  ASSERT_TRUE(DecodeImage(image, model));
  EXPECT_TRUE(model.typematic);
}

TEST(DecodeImage, LoadsPinsAndKeysAndKeepsWhatLiesOutside) {
  ConfigModel model = NewModel();
  for (int i = 0; i < kCellCount; ++i) model.keys[i] = 0x7000 + i;
  ConfigImage image = ValidImage(2, 2);
  // Columns on C, A; rows on B, D (same example as encoding).
  image[480] = 3;
  image[481] = 1;
  image[482] = 2;
  image[483] = 4;
  const std::uint8_t keys[8] = {0x01, 0x11, 0x02, 0x22, 0x04, 0x33, 0xF9, 0x44};
  std::memcpy(image.data(), keys, 8);
  ASSERT_TRUE(DecodeImage(image, model));
  EXPECT_EQ(model.columnPins[0], 2);
  EXPECT_EQ(model.columnPins[1], 0);
  EXPECT_EQ(model.rowPins[0], 1);
  EXPECT_EQ(model.rowPins[1], 3);
  EXPECT_EQ(model.columnPins[2], 2);  // spare entries keep their values
  EXPECT_EQ(model.rowPins[2], 14);
  EXPECT_EQ(model.keys[0 * 23 + 1], 0x0111);
  EXPECT_EQ(model.keys[1 * 23 + 1], 0x0222);
  EXPECT_EQ(model.keys[0 * 23 + 0], 0x0433);
  EXPECT_EQ(model.keys[1 * 23 + 0], 0xF944);
  EXPECT_EQ(model.keys[0 * 23 + 2], 0x7000 + 2);   // hidden cells untouched
  EXPECT_EQ(model.keys[2 * 23 + 0], 0x7000 + 46);
  EXPECT_EQ(model.keys[22 * 23 + 22], 0x7000 + 528);
}

TEST(DecodeImage, DuplicatePinTraversal) {
  // Three columns, the first and third both on pin B; two rows on A and C.
  ConfigImage image = ValidImage(2, 3);
  image[480] = 2;
  image[481] = 4;
  image[482] = 2;
  image[483] = 3;
  image[484] = 1;
  for (int i = 0; i < 12; ++i) image[i] = static_cast<std::uint8_t>(0x10 + i);
  ConfigModel model = NewModel();
  model.keys[0 * 23 + 2] = 0x5555;
  model.keys[1 * 23 + 2] = 0x6666;
  ASSERT_TRUE(DecodeImage(image, model));
  // Block 0: pin B -> column 0 (first in list order); rows by pin: A (row 1), C (row 0).
  EXPECT_EQ(model.keys[1 * 23 + 0], 0x1011);
  EXPECT_EQ(model.keys[0 * 23 + 0], 0x1213);
  // Block 1: pin D -> column 1; entries step by the full row count (2).
  EXPECT_EQ(model.keys[1 * 23 + 1], 0x1415);
  EXPECT_EQ(model.keys[0 * 23 + 1], 0x1617);
  // The third column shares pin B and keeps its earlier cells.
  EXPECT_EQ(model.keys[0 * 23 + 2], 0x5555);
  EXPECT_EQ(model.keys[1 * 23 + 2], 0x6666);
  // Such a configuration is refused when built again.
  ConfigImage again;
  int shared = -1;
  EXPECT_FALSE(EncodeImage(model, again, &shared));
  EXPECT_EQ(shared, 1);
}

TEST(DecodeImage, RoundTripsRandomValidImages) {
  std::mt19937 random(57);
  for (int round = 0; round < 500; ++round) {
    const int rows = 1 + static_cast<int>(random() % 23);
    const int columns = 1 + static_cast<int>(random() % (24 - rows < 23 ? 24 - rows : 23));
    int pins[24];
    for (int i = 0; i < 24; ++i) pins[i] = i + 1;
    std::shuffle(pins, pins + 24, random);
    ConfigImage image{};
    image[508] = static_cast<std::uint8_t>(rows);
    image[509] = static_cast<std::uint8_t>(columns);
    image[504] = 0x52;
    image[507] = (random() & 1) ? 0x40 : 0;
    for (int i = 0; i < rows + columns; ++i) image[480 + i] = static_cast<std::uint8_t>(pins[i]);
    for (int i = 0; i < 2 * rows * columns; ++i) image[i] = static_cast<std::uint8_t>(random());

    ConfigModel model = NewModel();
    ASSERT_TRUE(DecodeImage(image, model));
    ConfigImage again;
    int shared = -1;
    ASSERT_TRUE(EncodeImage(model, again, &shared));
    ASSERT_EQ(again, image) << "round " << round << ": " << rows << " x " << columns;
  }
}

TEST(DecodeImage, FewerRowsHideCellsWithoutClearingThem) {
  ConfigModel model = NewModel();
  model.keys[11 * 23 + 11] = 0x0123;
  ConfigModel small = model;
  small.rows = 2;
  small.columns = 2;
  ASSERT_TRUE(DecodeImage(Encoded(small), model));
  EXPECT_EQ(model.rows, 2);
  EXPECT_EQ(model.keys[11 * 23 + 11], 0x0123);
  model.rows = 12;
  model.columns = 12;
  EXPECT_EQ(Encoded(model)[2 * (11 * 12 + 11) + 1], 0x23);
}

}  // namespace
