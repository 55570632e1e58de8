#include "model/config_diff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

ConfigModel Defaults() {
  ConfigModel model;
  ResetModel(model);
  return model;
}

TEST(DiffConfigs, NamesEveryDifferenceWithinEitherCount) {
  ConfigModel a = Defaults();
  EXPECT_EQ(DiffConfigs(a, a), Lines{});
  a.keys[2 * kMatrixStride + 4] = 0x021F;
  a.keys[12 * kMatrixStride + 0] = 0x0011;  // hidden in a, not in b
  a.keys[12 * kMatrixStride + 1] = 0x0000;
  ConfigModel b = a;
  b.keys[2 * kMatrixStride + 4] = 0x0032;
  b.keys[0] = 0x801F;
  b.typematic = true;
  b.rows = 13;
  b.columns = 11;
  b.rowPins[12] = 11;
  b.columnPins[2] = 23;
  b.keys[12 * kMatrixStride + 0] = 0x0012;
  b.keys[12 * kMatrixStride + 11] = 0;
  a.keys[11] = 0x0044;  // Row 1 Col 12 goes out of b's counts
  EXPECT_EQ(DiffConfigs(a, b), (Lines{
                                   "rows: 12 -> 13",
                                   "columns: 12 -> 11",
                                   "typematic: off -> on",
                                   "Column 3 pin: C -> X",
                                   "Column 12 pin: L -> (none)",
                                   "Row 13 pin: (none) -> L",
                                   "Row 1 Col 1: - -> A [0x801F]",
                                   "Row 1 Col 12: #68 -> (none)",
                                   "Row 3 Col 5: Shift+A -> B",
                                   "Row 13 Col 1: (none) -> W",
                               }));
}

}  // namespace
