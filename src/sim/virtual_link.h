// The device model wired to a virtual platform: settings reach the device, and
// its answers land in the platform's queue after the device's latency.
#pragma once

#include "sim/encoder_sim.h"
#include "sim/virtual_platform.h"

struct VirtualLink {
  explicit VirtualLink(const VirtualPlatform::Options& options = {})
      : platform(options),
        device([this](const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs) {
          for (const SimKeyEvent& e : events) {
            platform.QueueAt(std::uint64_t{latencyMs} * 1000,
                             {e.down ? LinkMessageKind::kKeyDown : LinkMessageKind::kKeyUp, e.key});
          }
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
};
