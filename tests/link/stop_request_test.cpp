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

// A transfer with a stop stopUs after answer `after`; with a stray, a user's key
// that the host takes for the last answer while the encoder's own comes 480 ms
// after the request (for a read a second symbol that passes both checks with
// another byte, for a write the acknowledgement of a misread nibble).
int RunWithStop(bool write, const ConfigImage& image, bool stray, int after, std::uint64_t stopUs) {
  constexpr int kSameChecksOtherNibble = 0x03;
  VirtualLink link;
  link.platform.delay = 2;
  link.platform.speed = 9;
  if (!write) link.device.SetImage(image);
  const int last = AnswerCount(write, image) - 1;
  const std::uint8_t byte = image[CarriedIndexes(image).back()];
  int first = 0, second = 0;
  SymbolsForByte(byte, first, second);
  const int key = write ? AckKeyFor(byte & kNibbleMask) : KeyForSymbol(second ^ kSameChecksOtherNibble);
  if (stray && write) link.device.InjectFault(SimFault::kMisreadNibble, last, 0);
  if (stray) link.device.InjectFault(SimFault::kLateAnswer, last, 480);
  if (stray) link.device.InjectUserEvents(last, {{key, true}, {key, false}});
  StopAfterAnswer(link, after, stopUs);
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
    const int last = AnswerCount(write, image) - 1;
    for (std::uint32_t ms = 0; ms <= kAnswerWaitMs + 20; ++ms) {
      EXPECT_NE(RunWithStop(write, image, true, last, ms * 1000u), kTransferOk) << "stop after " << ms << " ms";
    }
    for (int i = 0; i < kRandomMoments; ++i) {
      const bool stray = i % 2 == 0;
      const int after = static_cast<int>(random() % static_cast<unsigned>(last + 1));
      const int result = RunWithStop(write, image, stray, after, random() % (kAnswerWaitMs * 1000u));
      EXPECT_TRUE(result == kTransferOk || result == kTransferStopped || stray) << "stop after answer " << after;
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
