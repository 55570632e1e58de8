#include "session/transfer_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include <unistd.h>

#include "link/read_transfer.h"
#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "session/settings_record.h"
#include "sim/virtual_link.h"

namespace fs = std::filesystem;

namespace {

// The device model behind a lock of this process and a record in a temporary file.
struct ModelHost : SessionHost {
  ~ModelHost() override { fs::remove(path); }
  bool Lock() override { return !locked && (locked = true); }
  void Unlock() override { locked = false; }
  std::string SettingsRecordPath() override { return path; }
  LinkPlatform& Link() override { return link.platform; }

  VirtualLink link;
  bool locked = false;
  std::string path = (fs::temp_directory_path() / ("rq57-session-" + std::to_string(::getpid()))).string();
};

struct Killed {};

// After a read killed in the middle of the data, or a write killed before its
// last nibble (the encoder still in its transfer, the desktop at link values, the
// record left), the next session ends the encoder's transfer before it puts the
// settings back, and then reads the image the encoder holds. A record found
// while another transfer holds the lock is that transfer's and stays.
TEST(TransferSession, RecoversAKilledTransferBeforeAnythingElse) {
  std::mt19937 random(61);
  const ConfigImage image = RandomImage(3, 3, random);
  const std::size_t inTheData = 6 + 2 * (kConfigBytes + 4);
  const std::size_t lastNibble = 6 + 1 + kSpeedCount + kNibbleCount + 2 * CarriedBytes(image) - 1;
  for (const auto& [write, killedAt] : {std::pair{false, inTheData}, std::pair{true, lastNibble}}) {
    SCOPED_TRACE(write ? "write" : "read");
    ModelHost host;
    VirtualPlatform& platform = host.link.platform;
    platform.delay = 2;
    platform.speed = 17;
    host.link.device.SetImage(RandomImage(4, 2, random));
    ASSERT_TRUE(RecordSettings(platform, host.path));
    const auto answer = platform.onSetting;
    platform.onSetting = [&](SettingKind kind, int value) {
      if (platform.Settings().size() > killedAt) throw Killed{};
      answer(kind, value);
    };
    ConfigImage read{};
    EXPECT_THROW(write ? WriteToEncoder(platform, image) : ReadFromEncoder(platform, read), Killed);
    platform.onSetting = answer;
    ASSERT_TRUE(host.link.device.InTransfer());

    host.locked = true;
    EXPECT_FALSE(RecoverKilledTransfer(host));
    EXPECT_TRUE(fs::exists(host.path));
    host.locked = false;

    platform.ClearRecords();
    {
      TransferSession session(host);
      ASSERT_TRUE(session.Open());
      EXPECT_TRUE(session.Recovered());
      EXPECT_EQ(Slice(platform.Settings(), 0, 3), (std::vector<Setting>{Delay(3), Speed(17), Delay(2)}));
      EXPECT_EQ(ReadFromEncoder(session.Link(), read), kTransferOk);
      EXPECT_TRUE(CarriedBytesEqual(host.link.device.Image(), read));
    }
    EXPECT_FALSE(host.locked);
    EXPECT_FALSE(fs::exists(host.path)) << "nothing is kept after a whole transfer";
  }
}

}  // namespace
