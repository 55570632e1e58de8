#include "sim/virtual_platform.h"

#include <algorithm>

namespace {
constexpr std::uint64_t kUsPerMs = 1000;
}

VirtualPlatform::VirtualPlatform() : VirtualPlatform(Options{}) {}

VirtualPlatform::VirtualPlatform(const Options& options)
    : options_(options),
      startUs_(options.phaseUs % std::max<std::uint32_t>(options.tickUs, 1)),
      nowUs_(startUs_) {
  if (options_.tickUs == 0) options_.tickUs = 1;
}

void VirtualPlatform::QueueAt(std::uint64_t afterUs, LinkMessage message, int id) {
  const Queued item{nowUs_ + afterUs, message, id};
  const auto later = std::upper_bound(queue_.begin(), queue_.end(), item.atUs,
                                      [](std::uint64_t at, const Queued& q) { return at < q.atUs; });
  queue_.insert(later, item);
}

void VirtualPlatform::QueueKeyDown(int key, std::uint32_t afterMs) {
  QueueAt(afterMs * kUsPerMs, {LinkMessageKind::kKeyDown, key});
}

void VirtualPlatform::QueueKeyUp(int key, std::uint32_t afterMs) {
  QueueAt(afterMs * kUsPerMs, {LinkMessageKind::kKeyUp, key});
}

void VirtualPlatform::QueueKeystroke(int key, std::uint32_t afterMs) {
  QueueKeyDown(key, afterMs);
  QueueKeyUp(key, afterMs);
}

void VirtualPlatform::QueueOther(int id, std::uint32_t afterMs) {
  QueueAt(afterMs * kUsPerMs, {LinkMessageKind::kOther, -1}, id);
}

void VirtualPlatform::ClearRecords() {
  settings_.clear();
  progress_.clear();
  dispatched_.clear();
  looks_ = 0;
}

bool VirtualPlatform::GetKeyboardDelay(int& value) {
  if (delayReadable) value = delay;
  return delayReadable;
}

bool VirtualPlatform::GetKeyboardSpeed(int& value) {
  if (speedReadable) value = speed;
  return speedReadable;
}

void VirtualPlatform::SetKeyboardDelay(int value) {
  delay = value;
  settings_.push_back({SettingKind::kDelay, value, ElapsedMs()});
  if (onSetting) onSetting(SettingKind::kDelay, value);
}

void VirtualPlatform::SetKeyboardSpeed(int value) {
  speed = value;
  settings_.push_back({SettingKind::kSpeed, value, ElapsedMs()});
  if (onSetting) onSetting(SettingKind::kSpeed, value);
}

std::uint32_t VirtualPlatform::Now() {
  // The clock moves in whole timer ticks, like GetTickCount.
  const std::uint64_t ticked = nowUs_ / options_.tickUs * options_.tickUs;
  return static_cast<std::uint32_t>(options_.clockStartMs + ticked / kUsPerMs);
}

std::uint32_t VirtualPlatform::ClockStepMs() {
  return static_cast<std::uint32_t>((options_.tickUs + kUsPerMs - 1) / kUsPerMs);
}

std::uint64_t VirtualPlatform::NextTick(std::uint64_t us) const {
  return (us + options_.tickUs - 1) / options_.tickUs * options_.tickUs;
}

void VirtualPlatform::Pause(std::uint32_t ms) {
  // Wakes on the first timer tick at or after the due time, never before the next tick.
  const std::uint64_t due = NextTick(nowUs_ + ms * kUsPerMs);
  nowUs_ = std::max(due, ms > 0 ? NextTick(nowUs_ + 1) : nowUs_);
}

void VirtualPlatform::WaitForMessage() {
  std::uint64_t wake = NextTick(nowUs_ + kUsPerMs);
  if (options_.wakeOnMessage && !queue_.empty()) {
    wake = std::min(wake, std::max(nowUs_, queue_.front().atUs));
  }
  nowUs_ = wake;
}

LinkMessage VirtualPlatform::TakeMessage() {
  ++looks_;
  if (queue_.empty() || queue_.front().atUs > nowUs_) return {};
  taken_ = queue_.front();
  queue_.erase(queue_.begin());
  return taken_.message;
}

void VirtualPlatform::DispatchTakenMessage() {
  if (taken_.message.kind == LinkMessageKind::kOther) {
    dispatched_.push_back(taken_.id);
    if (onDispatch) onDispatch(taken_.id);
  } else {
    dispatched_.push_back(-taken_.message.key);
  }
}

void VirtualPlatform::ShowProgress(const char* text) { progress_.emplace_back(text); }
