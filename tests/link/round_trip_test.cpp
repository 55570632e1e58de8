// Random configurations written and read back through the device model, with
// faults at random points: a transfer either succeeds with the exact image or
// reports failure, and the user's settings always come back.
#include <gtest/gtest.h>

#include "link/read_transfer.h"
#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "sim/virtual_link.h"

namespace {

constexpr int kRounds = 150;
constexpr int kUserDelay = 1;
constexpr int kUserSpeed = 27;
constexpr int kBetweenCommandsMs = 3000;

const SimFault kFaults[] = {
    SimFault::kNoAnswer,        SimFault::kLateAnswer,  SimFault::kWrongKey,
    SimFault::kBrokenKeystroke, SimFault::kBadCheckBit, SimFault::kUserKeyPress,
};

// Counts with rows + columns <= 24.
void RandomCounts(std::mt19937& random, int& rows, int& columns) {
  rows = 1 + static_cast<int>(random() % 23);
  columns = 1 + static_cast<int>(random() % static_cast<unsigned>(24 - rows));
}

// A fault at a random answer in about two thirds of the transfers.
void MaybeInjectFault(std::mt19937& random, EncoderSim& device, int answers) {
  if (random() % 3 == 0) return;
  device.InjectFault(kFaults[random() % 6], static_cast<int>(random() % static_cast<unsigned>(answers)));
}

void ExpectUserSettingsBack(const VirtualPlatform& platform, bool write) {
  EXPECT_EQ(platform.delay, kUserDelay);
  EXPECT_EQ(platform.speed, kUserSpeed);
  const std::vector<Setting> tail = write
      ? std::vector<Setting>{Delay(3), Speed(kUserSpeed), Delay(kUserDelay)}
      : std::vector<Setting>{Delay(3), Delay(kUserDelay)};
  EXPECT_EQ(Last(platform.Settings(), tail.size()), tail);
}

TEST(RoundTrip, SucceedsExactlyOrReportsFailure) {
  std::mt19937 random(2024);
  VirtualLink link;
  link.platform.delay = kUserDelay;
  link.platform.speed = kUserSpeed;
  link.device.SetImage(RandomImage(3, 5, random));
  int writesOk = 0;
  int readsOk = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(testing::Message() << "round " << round);
    int rows = 0;
    int columns = 0;
    RandomCounts(random, rows, columns);
    const ConfigImage image = RandomImage(rows, columns, random);
    link.device.SetLatency(static_cast<std::uint32_t>(random() % 11));
    link.device.SetUserKey(random() % 2 == 0 ? ' ' : 'X');
    link.device.ClearFaults();

    const ConfigImage stored = link.device.Image();
    const int storedWrites = link.device.StoredWrites();
    MaybeInjectFault(random, link.device, 49 + 2 * CarriedBytes(image));
    link.platform.ClearRecords();
    const int written = WriteToEncoder(link.platform, image);
    ExpectUserSettingsBack(link.platform, true);
    if (written == kTransferOk) {
      ++writesOk;
      EXPECT_TRUE(CarriedBytesEqual(image, link.device.Image()));
      EXPECT_EQ(link.device.StoredWrites(), storedWrites + 1);
    } else {
      EXPECT_TRUE(written == kTransferNotFound || written == kTransferLinkError) << written;
      // The device keeps its old image, or the whole new one when only the last
      // acknowledgement went wrong; never a mix.
      if (link.device.StoredWrites() == storedWrites) {
        EXPECT_EQ(link.device.Image(), stored);
      } else {
        EXPECT_TRUE(CarriedBytesEqual(image, link.device.Image()));
      }
    }
    // The message loop runs between commands and takes any stray keystroke.
    PumpFor(link.platform, kBetweenCommandsMs);

    link.device.ClearFaults();
    MaybeInjectFault(random, link.device, 1 + 2 * CarriedBytes(link.device.Image()));
    link.platform.ClearRecords();
    ConfigImage read{};
    const int result = ReadFromEncoder(link.platform, read);
    ExpectUserSettingsBack(link.platform, false);
    if (result == kTransferOk) {
      ++readsOk;
      EXPECT_TRUE(CarriedBytesEqual(link.device.Image(), read));
    } else {
      EXPECT_TRUE(result == kTransferNotFound || result == kTransferLinkError) << result;
    }
    PumpFor(link.platform, kBetweenCommandsMs);
  }
  // Both outcomes occur often enough to mean something.
  EXPECT_GT(writesOk, kRounds / 5);
  EXPECT_LT(writesOk, kRounds);
  EXPECT_GT(readsOk, kRounds / 5);
  EXPECT_LT(readsOk, kRounds);
}

}  // namespace
