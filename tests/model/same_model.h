// Field-by-field equality of two configurations (memcmp of the whole struct would
// compare padding too).
#pragma once

#include <cstring>

#include "model/config.h"

inline bool SameModel(const ConfigModel& a, const ConfigModel& b) {
  return a.rows == b.rows && a.columns == b.columns && a.typematic == b.typematic &&
         a.modified == b.modified &&
         std::memcmp(a.columnPins, b.columnPins, sizeof a.columnPins) == 0 &&
         std::memcmp(a.rowPins, b.rowPins, sizeof a.rowPins) == 0 &&
         std::memcmp(a.keys, b.keys, sizeof a.keys) == 0;
}
