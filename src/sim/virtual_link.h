// The device model wired to a virtual platform: settings reach the device, and
// its answers land in the platform's queue after the device's latency, in the
// order the device typed them; a user's keys from another keyboard land at
// their own time.
#pragma once

#include <algorithm>
#include <functional>

#include "sim/encoder_sim.h"
#include "sim/virtual_platform.h"

struct VirtualLink {
  explicit VirtualLink(const VirtualPlatform::Options& options = {})
      : platform(options),
        device([this](const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs, SimKeySource source) {
          Arrive(events, latencyMs, source);
        }) {
    platform.onSetting = [this](VirtualPlatform::SettingKind kind, int value) {
      if (kind == VirtualPlatform::SettingKind::kDelay) {
        device.OnDelaySet(value);
      } else {
        device.OnSpeedSet(value);
      }
    };
  }
  VirtualLink(const VirtualLink&) = delete;
  VirtualLink& operator=(const VirtualLink&) = delete;

  VirtualPlatform platform;
  EncoderSim device;
  // Added to each arrival when set, in microseconds: a test's latency jitter.
  std::function<std::uint64_t()> jitterUs;

 private:
  void Arrive(const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs, SimKeySource source) {
    std::uint64_t atUs = platform.ElapsedUs() + std::uint64_t{latencyMs} * 1000 + (jitterUs ? jitterUs() : 0);
    if (source == SimKeySource::kEncoder) {
      // One device types in order: a late answer holds back the ones after it.
      atUs = std::max(atUs, encoderTypedUs_);
      encoderTypedUs_ = atUs;
    }
    for (const SimKeyEvent& e : events) {
      platform.QueueAt(atUs - platform.ElapsedUs(),
                       {e.down ? LinkMessageKind::kKeyDown : LinkMessageKind::kKeyUp, e.key});
    }
  }

  std::uint64_t encoderTypedUs_ = 0;  // when the encoder's last answer arrives
};
