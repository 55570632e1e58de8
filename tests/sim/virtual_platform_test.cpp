#include "sim/virtual_platform.h"

#include <gtest/gtest.h>

#include "sim/virtual_link.h"

namespace {

constexpr std::uint32_t kCoarseTickUs = 15625;

TEST(VirtualPlatform, CoarseTimerRoundsSleepsAndClockToTicks) {
  VirtualPlatform::Options options;
  options.tickUs = kCoarseTickUs;
  options.wakeOnMessage = false;
  VirtualPlatform platform(options);
  EXPECT_EQ(platform.Now(), 0u);
  platform.Pause(1);
  EXPECT_EQ(platform.ElapsedUs(), kCoarseTickUs);
  EXPECT_EQ(platform.Now(), 15u);
  platform.Pause(150);  // 15.625 + 150 rounds up to 10 ticks
  EXPECT_EQ(platform.ElapsedUs(), 11u * kCoarseTickUs);
  platform.QueueKeyDown('A', 2);
  platform.WaitForMessage();  // sleep-only: sleeps on through the arrival
  EXPECT_EQ(platform.ElapsedUs(), 12u * kCoarseTickUs);
}

TEST(VirtualPlatform, WakeOnMessageEndsTheIdleWaitAtTheArrival) {
  VirtualPlatform::Options options;
  options.tickUs = kCoarseTickUs;
  VirtualPlatform platform(options);
  platform.QueueKeyDown('A', 3);
  platform.WaitForMessage();
  EXPECT_EQ(platform.ElapsedUs(), 3000u);
  EXPECT_EQ(platform.TakeMessage().key, 'A');
  platform.WaitForMessage();  // nothing queued: the next tick
  EXPECT_EQ(platform.ElapsedUs(), std::uint64_t{kCoarseTickUs});
}

TEST(VirtualPlatform, MessagesArriveInOrderOfTime) {
  VirtualPlatform platform;
  platform.QueueKeyDown('B', 5);
  platform.QueueKeyDown('A', 1);
  platform.QueueKeyUp('A', 1);
  EXPECT_EQ(platform.TakeMessage().kind, LinkMessageKind::kNone);
  platform.Pause(5);
  EXPECT_EQ(platform.TakeMessage().key, 'A');
  EXPECT_EQ(platform.TakeMessage().kind, LinkMessageKind::kKeyUp);
  EXPECT_EQ(platform.TakeMessage().key, 'B');
}

// The encoder's Ctrl comes 300 ms late; its next answer, due at 5 ms, waits
// behind it. A user's key on another keyboard comes at its own time.
TEST(VirtualLink, TheEncodersAnswersKeepTheirOrderAUsersKeysDoNot) {
  VirtualLink link;
  link.device.SetLatency(5);
  link.device.InjectFault(SimFault::kLateAnswer, 0, 300);
  link.device.InjectUserEvents(1, {{'X', true}});
  for (int delay : {1, 0, 2, 0, 0, 0, 0}) link.platform.SetKeyboardDelay(delay);
  link.platform.Pause(305);
  // Byte 480 of an empty image is 0x00: symbols G, G.
  for (int key : {int{'X'}, kKeyControl, kKeyControl, int{'G'}, int{'G'}}) {
    EXPECT_EQ(link.platform.TakeMessage().key, key);
  }
}

}  // namespace
