// Shared fixtures of the link and device tests: images, setting records.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "link/wire_constants.h"
#include "model/config.h"
#include "sim/virtual_link.h"
#include "sim/virtual_platform.h"

using Setting = VirtualPlatform::Setting;
using SettingKind = VirtualPlatform::SettingKind;

// An answer's wait on the tests' 1 ms clock: 500 ms of real time plus a step.
constexpr std::uint32_t kAnswerWaitMs = kAnswerTimeoutMs + 1;

inline Setting Delay(int value) { return {SettingKind::kDelay, value, 0}; }
inline Setting Speed(int value) { return {SettingKind::kSpeed, value, 0}; }

inline std::vector<Setting> StartSignal() {
  return {Delay(1), Delay(0), Delay(2), Delay(0), Delay(0), Delay(0)};
}

inline std::vector<Setting> Slice(const std::vector<Setting>& all, std::size_t from, std::size_t count) {
  if (from >= all.size()) return {};
  const std::size_t end = std::min(all.size(), from + count);
  return std::vector<Setting>(all.begin() + static_cast<long>(from), all.begin() + static_cast<long>(end));
}

inline std::vector<Setting> Last(const std::vector<Setting>& all, std::size_t count) {
  return count > all.size() ? all : Slice(all, all.size() - count, count);
}

inline int CountSettings(const std::vector<Setting>& all, SettingKind kind) {
  int n = 0;
  for (const Setting& s : all) n += s.kind == kind ? 1 : 0;
  return n;
}

// A valid image with the given counts, distinct random pins and random key data.
inline ConfigImage RandomImage(int rows, int columns, std::mt19937& random) {
  ConfigModel model;
  ResetModel(model);
  model.rows = rows;
  model.columns = columns;
  model.typematic = random() % 2 == 0;
  std::vector<int> pins(kPinCount);
  for (int i = 0; i < kPinCount; ++i) pins[i] = i;
  std::shuffle(pins.begin(), pins.end(), random);
  for (int i = 0; i < columns; ++i) model.columnPins[i] = pins[i];
  for (int i = 0; i < rows; ++i) model.rowPins[i] = pins[columns + i];
  for (KeyCode& key : model.keys) key = static_cast<KeyCode>(random() % 0x10000);
  ConfigImage image{};
  EncodeImage(model, image, nullptr);
  return image;
}

// Number of bytes a transfer carries for this image's counts.
inline int CarriedBytes(const ConfigImage& image) {
  return kConfigBytes + image[kImageRows] * image[kImageColumns] * 2;
}

// Image bytes in the order a transfer carries them: the configuration bytes
// 480-511, then the data bytes from 0. Written out here rather than taken from
// the link, so that a fault in the link's order cannot hide in the expectations.
inline std::vector<int> CarriedIndexes(const ConfigImage& image) {
  std::vector<int> indexes;
  for (int i = 480; i < 512; ++i) indexes.push_back(i);
  for (int i = 0; i < image[kImageRows] * image[kImageColumns] * 2; ++i) indexes.push_back(i);
  return indexes;
}

// Answers a transfer draws from the device when nothing goes wrong: the start's
// Ctrl, for a write the 32 probes and 16 confirmations, then two per byte.
inline int AnswerCount(bool write, const ConfigImage& carried) {
  return 1 + (write ? kSpeedCount + kNibbleCount : 0) + 2 * CarriedBytes(carried);
}

// Requests a stop delayUs after the device gives answer `after` (counted from 0).
inline void StopAfterAnswer(VirtualLink& link, int after, std::uint64_t delayUs) {
  const auto answer = link.platform.onSetting;
  link.platform.onSetting = [&link, answer, after, delayUs](SettingKind kind, int value) {
    answer(kind, value);
    if (link.device.AnswerCount() == after + 1 && link.platform.stopAtUs == UINT64_MAX) {
      link.platform.stopAtUs = link.platform.ElapsedUs() + delayUs;
    }
  };
}

// Whether two images agree in every byte a transfer of `a` carries.
inline bool CarriedBytesEqual(const ConfigImage& a, const ConfigImage& b) {
  for (int index : CarriedIndexes(a)) {
    if (a[index] != b[index]) return false;
  }
  return true;
}
