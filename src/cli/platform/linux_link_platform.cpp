#include "cli/platform/linux_link_platform.h"

#include <csignal>
#include <chrono>
#include <thread>

#include "cli/platform/atkbd_repeat.h"

namespace {

constexpr int kIdleWaitMs = 1;

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
  progress_.ShowDue(Now());
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void LinuxLinkPlatform::WaitForMessage() {
  progress_.ShowDue(Now());
  device_.WaitForEvent(kIdleWaitMs);
}

LinkMessage LinuxLinkPlatform::TakeMessage() {
  int code = 0;
  int value = 0;
  if (!device_.TakeKeyEvent(code, value)) return {};
  return LinkMessageOfKeyEvent(code, value);
}

bool LinuxLinkPlatform::StopRequested() { return stopRequested != 0; }
