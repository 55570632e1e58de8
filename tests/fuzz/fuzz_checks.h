// Checks shared by the fuzz targets; a failed check aborts, which the fuzzer
// reports with the input that caused it.
#pragma once

#include <cstdlib>

#include "model/config.h"

// The checks need no coverage feedback of their own: left uninstrumented, they
// cost the fuzzer a small part of each execution.
#define RQ57_UNINSTRUMENTED __attribute__((no_sanitize("coverage")))

RQ57_UNINSTRUMENTED inline void Require(bool holds) {
  if (!holds) std::abort();
}

// Counts, pins and key codes of a model are always in range.
RQ57_UNINSTRUMENTED inline void RequireInvariants(const ConfigModel& m) {
  Require(m.rows >= 1 && m.rows <= kMaxLines && m.columns >= 1 && m.columns <= kMaxLines &&
          m.rows + m.columns <= kPinCount);
  for (int i = 0; i < kMaxLines; ++i) {
    Require(m.columnPins[i] >= 0 && m.columnPins[i] < kPinCount);
    Require(m.rowPins[i] >= 0 && m.rowPins[i] < kPinCount);
  }
  for (KeyCode key : m.keys) Require(key >= 0 && key <= 0xFFFF);
}

// Whether two models hold the same configuration: counts, typematic, the pins
// of the lines in use and the cells inside them (spares and hidden cells aside).
RQ57_UNINSTRUMENTED inline bool SameConfiguration(const ConfigModel& a, const ConfigModel& b) {
  if (a.rows != b.rows || a.columns != b.columns || a.typematic != b.typematic) return false;
  for (int i = 0; i < a.columns; ++i) {
    if (a.columnPins[i] != b.columnPins[i]) return false;
  }
  for (int i = 0; i < a.rows; ++i) {
    if (a.rowPins[i] != b.rowPins[i]) return false;
  }
  for (int r = 0; r < a.rows; ++r) {
    for (int c = 0; c < a.columns; ++c) {
      if (a.keys[r * kMatrixStride + c] != b.keys[r * kMatrixStride + c]) return false;
    }
  }
  return true;
}
