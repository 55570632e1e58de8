#include "sim/sample_image.h"

namespace {

constexpr int kPadSize = 4;
// Key numbers of the numeric keypad, row by row.
constexpr int kPadKeys[kPadSize][kPadSize] = {
    {91, 96, 101, 95},    // 7 8 9 /
    {92, 97, 102, 100},   // 4 5 6 *
    {93, 98, 103, 105},   // 1 2 3 -
    {99, 104, 108, 106},  // 0 . Enter +
};

}  // namespace

ConfigImage SampleConfigImage() {
  ConfigModel model;
  ResetModel(model);
  model.rows = kPadSize;
  model.columns = kPadSize;
  model.typematic = true;
  for (int i = 0; i < kPadSize; ++i) {
    model.columnPins[i] = i;
    model.rowPins[i] = kPadSize + i;
  }
  for (int r = 0; r < kPadSize; ++r) {
    for (int c = 0; c < kPadSize; ++c) model.keys[r * kMatrixStride + c] = kPadKeys[r][c];
  }
  ConfigImage image{};
  EncodeImage(model, image, nullptr);
  return image;
}
