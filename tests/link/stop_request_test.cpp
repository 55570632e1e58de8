#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "link/read_transfer.h"
#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
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
