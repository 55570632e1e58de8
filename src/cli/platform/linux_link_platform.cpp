#include "cli/platform/linux_link_platform.h"

#include <csignal>
#include <cstdio>
#include <thread>

#include "cli/platform/atkbd_repeat.h"

namespace {

constexpr int kIdleWaitMs = 1;
constexpr auto kProgressInterval = std::chrono::milliseconds(100);  // ten texts a second at most

volatile std::sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

}  // namespace

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool LinuxLinkPlatform::GetKeyboardDelay(int& delay) {
  int delayMs = 0;
  int periodMs = 0;
  if (!device_.GetRepeat(delayMs, periodMs)) return false;
  delay = LinkDelayOfMs(delayMs);
  return true;
}

bool LinuxLinkPlatform::GetKeyboardSpeed(int& speed) {
  int delayMs = 0;
  int periodMs = 0;
  if (!device_.GetRepeat(delayMs, periodMs)) return false;
  speed = LinkSpeedOfPeriodMs(periodMs);
  return true;
}

// The other value goes back as the input core holds it, so that it is dropped
// there and the setting makes one command.
void LinuxLinkPlatform::SetKeyboardDelay(int delay) {
  int delayMs = 0;
  int periodMs = 0;
  if (device_.GetRepeat(delayMs, periodMs)) device_.SetRepeat(DelayRequestMs(delay, delayMs), periodMs);
}

void LinuxLinkPlatform::SetKeyboardSpeed(int speed) {
  int delayMs = 0;
  int periodMs = 0;
  if (device_.GetRepeat(delayMs, periodMs)) device_.SetRepeat(delayMs, PeriodRequestMs(speed, periodMs));
}

std::uint32_t LinuxLinkPlatform::Now() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

void LinuxLinkPlatform::Pause(std::uint32_t ms) {
  ShowDueProgress();
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void LinuxLinkPlatform::WaitForMessage() {
  ShowDueProgress();
  device_.WaitForEvent(kIdleWaitMs);
}

LinkMessage LinuxLinkPlatform::TakeMessage() {
  int code = 0;
  int value = 0;
  if (!device_.TakeKeyEvent(code, value)) return {};
  return LinkMessageOfKeyEvent(code, value);
}

void LinuxLinkPlatform::ShowProgress(const char* text) {
  if (text == (hasPending_ ? pending_ : shown_)) return;  // no change
  pending_ = text;
  hasPending_ = true;
  ShowDueProgress();
}

bool LinuxLinkPlatform::StopRequested() { return stopRequested != 0; }

void LinuxLinkPlatform::ShowDueProgress() {
  if (!hasPending_ || (shownBefore_ && std::chrono::steady_clock::now() - shownAt_ < kProgressInterval)) return;
  FlushProgress();
}

void LinuxLinkPlatform::FlushProgress() {
  if (!hasPending_) return;
  std::fputs((pending_ + "\n").c_str(), stderr);
  std::fflush(stderr);
  shown_ = pending_;
  hasPending_ = false;
  shownBefore_ = true;
  shownAt_ = std::chrono::steady_clock::now();
}
