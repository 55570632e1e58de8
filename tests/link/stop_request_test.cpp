#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "link/read_transfer.h"
#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "sim/encoder_sim.h"
#include "sim/virtual_link.h"

namespace {

// A stop request ends either transfer at its next wait, with the user's settings
// put back as on every other way out.
TEST(StopRequest, EndsTheTransferWithTheSettingsPutBack) {
  std::mt19937 random(41);
  const ConfigImage image = RandomImage(4, 5, random);
  for (const bool write : {true, false}) {
    for (const std::size_t stopAt : {std::size_t{3}, std::size_t{20}, std::size_t{90}}) {
      SCOPED_TRACE(::testing::Message() << (write ? "write" : "read") << ", stop at setting " << stopAt);
      VirtualLink link;
      link.device.SetImage(image);
      link.platform.delay = 2;
      link.platform.speed = 9;
      const auto answer = link.platform.onSetting;
      link.platform.onSetting = [&](SettingKind kind, int value) {
        if (link.platform.Settings().size() == stopAt) link.platform.stopRequested = true;
        answer(kind, value);
      };
      ConfigImage read{};
      const int result = write ? WriteToEncoder(link.platform, image) : ReadFromEncoder(link.platform, read);
      EXPECT_EQ(result, kTransferStopped);
      // The stop is seen at the next wait (the start signal's pauses are no waits).
      EXPECT_LE(link.platform.Settings().size(), std::max(stopAt, std::size_t{6}) + 1 + (write ? 3u : 2u));
      EXPECT_EQ(link.platform.delay, 2);
      EXPECT_EQ(link.platform.speed, 9);
      EXPECT_EQ(Last(link.platform.Settings(), 1).front(), Delay(2));
      EXPECT_EQ(link.device.StoredWrites(), 0);
      EXPECT_EQ(link.device.Image(), image);
    }
  }
}

// Answers of a transfer of this image: the start's Ctrl, for a write the 32
// probes and 16 confirmations, then two per byte.
int LastAnswer(bool write, const ConfigImage& image) {
  return (write ? kSpeedCount + kNibbleCount : 0) + 2 * CarriedBytes(image);
}

// A user's key that the host accepts for the last answer while the encoder's own
// comes 480 ms after the request: for a read a second symbol that passes both
// checks with another byte, for a write the expected acknowledgement of a
// nibble that the encoder misread.
void PlantStrayForTheLastAnswer(VirtualLink& link, bool write, const ConfigImage& image) {
  constexpr int kSameChecksOtherNibble = 0x03;
  const int last = LastAnswer(write, image);
  const std::uint8_t byte = image[CarriedIndexes(image).back()];
  int first = 0;
  int second = 0;
  SymbolsForByte(byte, first, second);
  const int key = write ? AckKeyFor(byte & kNibbleMask) : KeyForSymbol(second ^ kSameChecksOtherNibble);
  if (write) link.device.InjectFault(SimFault::kMisreadNibble, last, 0);
  link.device.InjectFault(SimFault::kLateAnswer, last, 480);
  link.device.InjectUserEvents(last, {{key, true}, {key, false}});
}

// A transfer with a stop requested stopUs after the request of answer `after`:
// never a success with wrong data, always the end signal and the settings back.
int RunWithStop(bool write, const ConfigImage& image, bool stray, int after, std::uint64_t stopUs) {
  VirtualLink link;
  link.platform.delay = 2;
  link.platform.speed = 9;
  if (!write) link.device.SetImage(image);
  if (stray) PlantStrayForTheLastAnswer(link, write, image);
  const auto answer = link.platform.onSetting;
  link.platform.onSetting = [&](SettingKind kind, int value) {
    answer(kind, value);
    if (link.device.AnswerCount() == after + 1 && link.platform.stopAtUs == UINT64_MAX) {
      link.platform.stopAtUs = link.platform.ElapsedUs() + stopUs;
    }
  };
  ConfigImage read{};
  const int result = write ? WriteToEncoder(link.platform, image) : ReadFromEncoder(link.platform, read);
  EXPECT_TRUE(result != kTransferOk || CarriedBytesEqual(image, write ? link.device.Image() : read));
  EXPECT_EQ(Last(link.platform.Settings(), 1).front(), Delay(2));
  EXPECT_EQ(link.platform.speed, 9);
  EXPECT_FALSE(link.device.InTransfer()) << "the end signal was sent";
  return result;
}

// A stop at every millisecond of the final wait, with a stray taken for the last
// answer and the encoder's own still to come, does not cut the wait short; a
// stop at random moments of whole transfers ends them or lets them succeed.
TEST(StopRequest, NeverTurnsIntoSuccessWithWrongData) {
  constexpr int kRandomMoments = 300;
  std::mt19937 random(43);
  const ConfigImage image = RandomImage(2, 2, random);
  for (const bool write : {false, true}) {
    SCOPED_TRACE(write ? "write" : "read");
    const int last = LastAnswer(write, image);
    for (std::uint32_t ms = 0; ms <= kAnswerWaitMs + 20; ++ms) {
      EXPECT_NE(RunWithStop(write, image, true, last, ms * 1000u), kTransferOk) << "stop after " << ms << " ms";
    }
    for (int i = 0; i < kRandomMoments; ++i) {
      const bool stray = i % 2 == 0;
      const int after = static_cast<int>(random() % static_cast<unsigned>(last + 1));
      const std::uint64_t us = random() % (kAnswerWaitMs * 1000u);
      const int result = RunWithStop(write, image, stray, after, us);
      EXPECT_TRUE(result == kTransferOk || result == kTransferStopped || stray) << after << " + " << us << " us";
    }
  }
}

// A nibble misread as another of the same parity draws the right acknowledgement:
// the write succeeds and only reading back finds the wrong byte.
TEST(StopRequest, MisreadOfTheSameParityPassesTheWrite) {
  std::mt19937 random(42);
  const ConfigImage image = RandomImage(2, 2, random);
  VirtualLink link;
  link.device.InjectFault(SimFault::kMisreadSameParity, 49 + 2 * 33, 1);  // high nibble of data byte 1
  ASSERT_EQ(WriteToEncoder(link.platform, image), kTransferOk);
  ConfigImage expected = image;
  expected[1] = static_cast<std::uint8_t>(expected[1] ^ 0x60);
  EXPECT_EQ(link.device.Image(), expected);
}

}  // namespace
