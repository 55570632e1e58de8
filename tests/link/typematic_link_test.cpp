#include "link/typematic_link.h"

#include <gtest/gtest.h>

#include "link/transfer_fixtures.h"
#include "sim/virtual_platform.h"

namespace {

constexpr int kKeyA = 'A';
constexpr int kKeyB = 'B';
constexpr int kKey5 = '5';

struct Queued {
  bool down;
  int key;
  std::uint32_t atMs;
};

struct WaitCase {
  const char* name;
  std::vector<Queued> queue;
  int timeoutMs;
  int expectedKey;
  std::uint32_t expectedElapsedMs;
};

TEST(WaitKeystroke, FollowsThePendingKeyRules) {
  const WaitCase cases[] = {
      {"whole keystroke", {{true, kKey5, 0}, {false, kKey5, 0}}, 500, 53, 0},
      {"stray key-up ignored", {{false, kKeyB, 0}, {true, kKeyA, 3}, {false, kKeyA, 4}}, 500, kKeyA, 4},
      {"other key-up dropped", {{true, kKeyA, 0}, {false, kKeyB, 1}, {false, kKeyA, 2}}, 500, kKeyA, 2},
      {"second key-down breaks", {{true, kKeyA, 0}, {true, kKeyA, 10}, {false, kKeyA, 11}}, 500, kNoKey, 10},
      {"two different downs break", {{true, kKeyA, 0}, {true, kKeyB, 1}}, 500, kNoKey, 1},
      {"down without up", {{true, kKeyA, 0}}, 500, kNoKey, 500},
      {"nothing at all", {}, 500, kNoKey, 500},
      {"answer just in time", {{true, kKeyA, 499}, {false, kKeyA, 499}}, 500, kKeyA, 499},
      {"answer too late", {{true, kKeyA, 500}, {false, kKeyA, 500}}, 500, kNoKey, 500},
      {"long time-out", {{true, kKeyControl, 1999}, {false, kKeyControl, 1999}}, 2000, kKeyControl, 1999},
  };
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualPlatform platform;
    for (const Queued& q : c.queue) {
      if (q.down) {
        platform.QueueKeyDown(q.key, q.atMs);
      } else {
        platform.QueueKeyUp(q.key, q.atMs);
      }
    }
    EXPECT_EQ(WaitKeystroke(platform, c.timeoutMs), c.expectedKey);
    EXPECT_EQ(platform.ElapsedMs(), c.expectedElapsedMs);
    EXPECT_TRUE(platform.Dispatched().empty()) << "key messages reach no window";
  }
}

TEST(WaitOutAnswerTime, FailsOnAKeyDownAndConsumesItsKeystroke) {
  const struct {
    const char* name;
    std::vector<Queued> queue;
    bool quiet;
    std::uint32_t elapsedMs;
    int leftQueued;
  } cases[] = {
      {"nothing", {}, true, 21, 0},
      {"lone key-up", {{false, kKeyControl, 3}}, true, 21, 0},
      {"whole keystroke", {{true, kKeyA, 5}, {false, kKeyA, 6}}, false, 6, 0},
      {"key-down held past the window", {{true, kKeyA, 5}, {false, kKeyA, 30}}, false, 21, 1},
      {"keystroke as the window ends", {{true, kKeyA, 21}, {false, kKeyA, 21}}, false, 21, 0},
      {"keystroke after the window", {{true, kKeyA, 22}, {false, kKeyA, 22}}, true, 21, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualPlatform platform;
    for (const Queued& q : c.queue) {
      if (q.down) {
        platform.QueueKeyDown(q.key, q.atMs);
      } else {
        platform.QueueKeyUp(q.key, q.atMs);
      }
    }
    platform.QueueOther(7, 1);
    // Asked 480 ms ago: 20 ms are left of the answer time-out, and a 1 ms step.
    EXPECT_EQ(WaitOutAnswerTime(platform, platform.Now() - 480), c.quiet);
    EXPECT_EQ(platform.ElapsedMs(), c.elapsedMs);
    EXPECT_EQ(platform.QueuedCount(), c.leftQueued);
    EXPECT_EQ(platform.Dispatched(), std::vector<int>{7}) << "only other messages go on";
  }
}

// Both readings of a stepped clock may lag real time by up to a step: at every
// phase of a fine or a coarse clock, a key-down just inside 500 ms is seen.
TEST(WaitOutAnswerTime, CoversHalfASecondOfRealTimeOnAnySteppedClock) {
  constexpr std::uint32_t kPhaseStepUs = 125;
  for (const std::uint32_t tickUs : {1000u, 15625u}) {
    for (std::uint32_t phaseUs = 0; phaseUs < tickUs; phaseUs += kPhaseStepUs) {
      VirtualPlatform platform({tickUs, true, 0, phaseUs});
      platform.QueueAt(kAnswerTimeoutMs * 1000 - 1, {LinkMessageKind::kKeyDown, kKeyA});
      EXPECT_FALSE(WaitOutAnswerTime(platform, platform.Now())) << "tick " << tickUs << " us, phase " << phaseUs;
    }
  }
}

TEST(NoKeyWaiting, TakesWhatIsQueuedAndCountsOnlyKeyDowns) {
  VirtualPlatform platform;
  platform.QueueKeyUp(kKeyControl);
  platform.QueueOther(7);
  EXPECT_TRUE(NoKeyWaiting(platform));
  platform.QueueKeystroke(kKeyA);
  platform.QueueKeystroke(kKeyB, 5);
  EXPECT_FALSE(NoKeyWaiting(platform));
  EXPECT_EQ(platform.QueuedCount(), 2) << "what has not arrived yet stays";
  EXPECT_EQ(platform.ElapsedMs(), 0u);
  EXPECT_EQ(platform.Dispatched(), std::vector<int>{7});
}

TEST(WaitKeystroke, ZeroTimeoutNeverLooksAtTheQueue) {
  VirtualPlatform platform;
  platform.QueueKeystroke(kKeyA);
  EXPECT_EQ(WaitKeystroke(platform, 0), kNoKey);
  EXPECT_EQ(platform.Looks(), 0);
  EXPECT_EQ(platform.QueuedCount(), 2);
}

TEST(WaitKeystroke, HandsOtherMessagesOnAndKeepsWaiting) {
  VirtualPlatform platform;
  platform.QueueOther(7);
  platform.QueueOther(8, 20);
  platform.QueueKeystroke(kKeyB, 30);
  EXPECT_EQ(WaitKeystroke(platform, 500), kKeyB);
  EXPECT_EQ(platform.Dispatched(), (std::vector<int>{7, 8}));
  EXPECT_EQ(platform.ElapsedMs(), 30u);
}

TEST(WaitKeystroke, TimeOutSpansTheClockWrap) {
  VirtualPlatform::Options options;
  options.clockStartMs = 0xFFFFFF00u;
  VirtualPlatform platform(options);
  EXPECT_EQ(WaitKeystroke(platform, 500), kNoKey);
  EXPECT_EQ(platform.ElapsedMs(), 500u);
}

TEST(WaitKeystroke, CoarseClockStillEndsAtTheTimeOut) {
  VirtualPlatform::Options options;
  options.tickUs = 15625;
  options.wakeOnMessage = false;
  VirtualPlatform platform(options);
  EXPECT_EQ(WaitKeystroke(platform, 500), kNoKey);
  EXPECT_GE(platform.ElapsedMs(), 500u);
  EXPECT_LT(platform.ElapsedMs(), 500u + 16u);
}

TEST(PumpFor, DispatchesEveryMessageForTheWholePause) {
  VirtualPlatform platform;
  platform.QueueOther(3);
  platform.QueueKeystroke(kKeyA, 40);
  PumpFor(platform, 100);
  EXPECT_EQ(platform.ElapsedMs(), 100u);
  EXPECT_EQ(platform.Dispatched(), (std::vector<int>{3, -kKeyA, -kKeyA}));
}

TEST(PumpFor, ZeroReturnsAtOnce) {
  VirtualPlatform platform;
  platform.QueueOther(3);
  PumpFor(platform, 0);
  EXPECT_EQ(platform.Looks(), 0);
  EXPECT_EQ(platform.ElapsedMs(), 0u);
}

TEST(StartSignal, SixDelaysWithPlainPausesThenHalfASecondOfWaiting) {
  VirtualPlatform platform;
  platform.QueueOther(1, 200);  // arrives during a pause: no message is handled there
  EXPECT_FALSE(SendStartSignal(platform));
  const std::vector<Setting>& settings = platform.Settings();
  ASSERT_EQ(settings, StartSignal());
  const std::uint32_t times[] = {0, 150, 300, 450, 600, 750};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(settings[i].atMs, times[i]) << i;
  EXPECT_EQ(platform.ElapsedMs(), 750u + kAnswerWaitMs);
  EXPECT_EQ(platform.Dispatched(), (std::vector<int>{1}));  // only by the wait
}

TEST(StartSignal, AnswerTypedDuringThePausesStillCounts) {
  VirtualPlatform platform;
  platform.QueueKeystroke(kKeyControl, 100);
  EXPECT_TRUE(SendStartSignal(platform));
  EXPECT_EQ(platform.ElapsedMs(), 750u);
}

TEST(StartSignal, OnlyCtrlAnswers) {
  VirtualPlatform platform;
  platform.QueueKeystroke(kKeyShift, 760);
  EXPECT_FALSE(SendStartSignal(platform));
  EXPECT_EQ(platform.ElapsedMs(), 760u);
}

TEST(RestoreSettings, ReadPutsBackTheDelayOnlyWriteTheSpeedThenTheDelay) {
  const TypematicSettings saved{2, 17};
  VirtualPlatform read;
  RestoreTypematicSettings(read, saved, false);
  EXPECT_EQ(read.Settings(), (std::vector<Setting>{Delay(3), Delay(2)}));
  EXPECT_EQ(read.Settings()[1].atMs, 150u);

  VirtualPlatform write;
  RestoreTypematicSettings(write, saved, true);
  EXPECT_EQ(write.Settings(), (std::vector<Setting>{Delay(3), Speed(17), Delay(2)}));
  EXPECT_EQ(write.Settings()[1].atMs, 150u);
  EXPECT_EQ(write.Settings()[2].atMs, 150u);
}

TEST(SaveSettings, ReadsBothOrReportsFailure) {
  VirtualPlatform platform;
  platform.delay = 3;
  platform.speed = 5;
  TypematicSettings saved;
  ASSERT_TRUE(SaveTypematicSettings(platform, saved));
  EXPECT_EQ(saved.delay, 3);
  EXPECT_EQ(saved.speed, 5);
  platform.speedReadable = false;
  EXPECT_FALSE(SaveTypematicSettings(platform, saved));
  platform.speedReadable = true;
  platform.delayReadable = false;
  EXPECT_FALSE(SaveTypematicSettings(platform, saved));
  EXPECT_TRUE(platform.Settings().empty());
}

TEST(LinkCoding, SymbolFromKey) {
  const struct { int key; int symbol; } cases[] = {
      {'0', 0}, {'9', 9}, {'A', 10}, {'G', 16}, {'V', 31}, {'W', kNoSymbol}, {'X', kNoSymbol},
      {'Y', kNoSymbol}, {'Z', kNoSymbol}, {kKeyShift, kNoSymbol}, {kKeyControl, kNoSymbol},
      {kNoKey, kNoSymbol}, {'/', kNoSymbol}, {':', kNoSymbol}, {'@', kNoSymbol}, {'a', kNoSymbol},
  };
  for (const auto& c : cases) EXPECT_EQ(SymbolFromKey(c.key), c.symbol) << c.key;
}

TEST(LinkCoding, ByteFromSymbolsAppliesBothTests) {
  const struct { int first, second; bool test1, test2; int byte; } cases[] = {
      {16, 16, true, true, 0x00}, {0, 17, true, true, 0x01}, {17, 0, true, true, 0x10},
      {1, 1, true, true, 0x11},   {1, 2, true, true, 0x12},  {31, 31, true, true, 0xFF},
      {23, 15, true, true, 0x7F}, {24, 0, true, true, 0x80},
      {0, 16, false, true, -1},   {0, 0, false, false, -1},
      {16, 0, true, false, -1},   {1, 18, true, false, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.first << "," << c.second);
    EXPECT_EQ(SymbolCheckHolds(c.first, c.second), c.test1);
    EXPECT_EQ(SymbolCheckHolds(c.second, c.first), c.test2);
    std::uint8_t byte = 0xAA;
    EXPECT_EQ(ByteFromSymbols(c.first, c.second, byte), c.byte >= 0);
    if (c.byte >= 0) {
      EXPECT_EQ(byte, c.byte);
    }
  }
}

TEST(LinkCoding, EveryByteHasExactlyOneAcceptedPair) {
  int accepted[256] = {};
  for (int first = 0; first < 32; ++first) {
    for (int second = 0; second < 32; ++second) {
      std::uint8_t byte = 0;
      if (ByteFromSymbols(first, second, byte)) ++accepted[byte];
    }
  }
  for (int b = 0; b < 256; ++b) EXPECT_EQ(accepted[b], 1) << b;
}

TEST(LinkCoding, AckKeyForNibbleFollowsParity) {
  const int expected[16] = {17, 16, 16, 17, 16, 17, 17, 16, 16, 17, 17, 16, 17, 16, 16, 17};
  for (int n = 0; n < 16; ++n) EXPECT_EQ(AckKeyForNibble(n), expected[n]) << n;
}

}  // namespace
