// A link provider with a virtual clock and a scripted message queue, for tests
// and the benchmark. It can model a coarse system timer (GetTickCount and sleeps
// advancing in whole ticks) and either a sleep-only or a wake-on-message idle wait.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/link_platform.h"

class VirtualPlatform : public LinkPlatform {
 public:
  struct Options {
    std::uint32_t tickUs = 1000;      // timer resolution: 1 ms, or 15625 for the default Windows timer
    bool wakeOnMessage = true;        // idle wait ends when a message arrives
    std::uint32_t clockStartMs = 0;   // first clock reading, to exercise wrap-around
    std::uint32_t phaseUs = 0;        // start this far into a timer tick
  };
  enum class SettingKind { kDelay, kSpeed };
  struct Setting {
    SettingKind kind;
    int value;
    std::uint32_t atMs;  // virtual ms since the start
    bool operator==(const Setting& other) const {
      return kind == other.kind && value == other.value;
    }
  };

  VirtualPlatform();
  explicit VirtualPlatform(const Options& options);

  // The desktop's settings as the link finds them.
  int delay = 1;
  int speed = 31;
  bool delayReadable = true;
  bool speedReadable = true;
  // What StopRequested answers: the user's Ctrl+C, now or from stopAtUs (virtual
  // microseconds since the start) on.
  bool stopRequested = false;
  std::uint64_t stopAtUs = UINT64_MAX;

  // Called on every setting, after it has been recorded.
  std::function<void(SettingKind kind, int value)> onSetting;
  // Called when a non-key message is dispatched, with the id it was queued with.
  std::function<void(int id)> onDispatch;

  // Queues a message to arrive afterMs from now (keys in order of arrival).
  void QueueKeyDown(int key, std::uint32_t afterMs = 0);
  void QueueKeyUp(int key, std::uint32_t afterMs = 0);
  void QueueKeystroke(int key, std::uint32_t afterMs = 0);
  void QueueOther(int id, std::uint32_t afterMs = 0);
  // Same, with the arrival time in microseconds from now.
  void QueueAt(std::uint64_t afterUs, LinkMessage message, int id = 0);

  const std::vector<Setting>& Settings() const { return settings_; }
  const std::vector<std::string>& ProgressTexts() const { return progress_; }
  const std::vector<int>& Dispatched() const { return dispatched_; }
  int Looks() const { return looks_; }
  int QueuedCount() const { return static_cast<int>(queue_.size()); }
  std::uint64_t ElapsedUs() const { return nowUs_ - startUs_; }
  std::uint32_t ElapsedMs() const { return static_cast<std::uint32_t>(ElapsedUs() / 1000); }
  void ClearRecords();

  bool GetKeyboardDelay(int& value) override;
  bool GetKeyboardSpeed(int& value) override;
  void SetKeyboardDelay(int value) override;
  void SetKeyboardSpeed(int value) override;
  std::uint32_t Now() override;
  std::uint32_t ClockStepMs() override;
  void Pause(std::uint32_t ms) override;
  void WaitForMessage() override;
  LinkMessage TakeMessage() override;
  void DispatchTakenMessage() override;
  void ShowProgress(const char* text) override;
  bool StopRequested() override { return stopRequested || ElapsedUs() >= stopAtUs; }

 private:
  struct Queued {
    std::uint64_t atUs;
    LinkMessage message;
    int id;
  };
  std::uint64_t NextTick(std::uint64_t us) const;

  Options options_;
  std::uint64_t startUs_;
  std::uint64_t nowUs_;
  std::vector<Queued> queue_;  // ordered by arrival
  Queued taken_{};
  std::vector<Setting> settings_;
  std::vector<std::string> progress_;
  std::vector<int> dispatched_;  // ids of non-key messages; -key for dispatched keys
  int looks_ = 0;
};
