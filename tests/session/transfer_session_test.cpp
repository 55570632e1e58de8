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

constexpr int kUserDelay = 2;
constexpr int kUserSpeed = 17;

// The device model behind a lock of this process and a record in a temporary file.
class ModelHost : public SessionHost {
 public:
  ModelHost()
      : path_((fs::temp_directory_path() / ("rq57-session-" + std::to_string(::getpid()))).string()) {}
  ~ModelHost() override { fs::remove(path_); }
  bool Lock() override { return !locked ? (locked = true) : false; }
  void Unlock() override { locked = false; }
  std::string SettingsRecordPath() override { return path_; }
  LinkPlatform& Link() override { return link.platform; }

  VirtualLink link;
  bool locked = false;

 private:
  std::string path_;
};

struct Killed {};

// A run killed when it is about to make setting number `at`: the encoder keeps
// its transfer, the desktop the link's values, the record stays.
void RunKilled(ModelHost& host, bool write, const ConfigImage& image, std::size_t at) {
  VirtualPlatform& platform = host.link.platform;
  ASSERT_TRUE(RecordSettings(platform, host.SettingsRecordPath()));
  const auto answer = platform.onSetting;
  platform.onSetting = [&platform, answer, at](SettingKind kind, int value) {
    if (platform.Settings().size() > at) throw Killed{};
    answer(kind, value);
  };
  ConfigImage read{};
  EXPECT_THROW(write ? WriteToEncoder(platform, image) : ReadFromEncoder(platform, read), Killed);
  platform.onSetting = answer;
}

// After a read killed in the middle of the data, or a write killed before its last
// nibble, the next session ends the encoder's transfer before it puts the
// settings back; its read then gets the image the encoder holds.
TEST(TransferSession, RecoversAKilledTransferBeforeAnythingElse) {
  std::mt19937 random(61);
  const ConfigImage image = RandomImage(3, 3, random);
  const std::size_t startAndData = 6 + 2 * (kConfigBytes + 4);
  const std::size_t lastNibble = 6 + 1 + kSpeedCount + kNibbleCount + 2 * CarriedBytes(image) - 1;
  const struct {
    const char* name;
    bool write;
    std::size_t killedAt;
  } cases[] = {{"read killed in the data", false, startAndData}, {"write killed before its last nibble", true, lastNibble}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModelHost host;
    VirtualPlatform& platform = host.link.platform;
    platform.delay = kUserDelay;
    platform.speed = kUserSpeed;
    host.link.device.SetImage(RandomImage(4, 2, random));
    RunKilled(host, c.write, image, c.killedAt);
    ASSERT_TRUE(host.link.device.InTransfer());

    host.locked = true;  // a transfer runs: its record is not a killed one's
    EXPECT_FALSE(RecoverKilledTransfer(host));
    EXPECT_TRUE(fs::exists(host.SettingsRecordPath()));
    host.locked = false;

    platform.ClearRecords();
    {
      TransferSession session(host);
      ASSERT_TRUE(session.Open());
      EXPECT_TRUE(session.Recovered());
      ASSERT_GE(platform.Settings().size(), 1u);
      EXPECT_EQ(platform.Settings().front(), Delay(kDelayEndSignal)) << "the end signal comes first";
      EXPECT_EQ(platform.delay, kUserDelay);
      EXPECT_EQ(platform.speed, kUserSpeed);
      ConfigImage read{};
      EXPECT_EQ(ReadFromEncoder(session.Link(), read), kTransferOk);
      EXPECT_TRUE(CarriedBytesEqual(host.link.device.Image(), read));
    }
    EXPECT_FALSE(host.locked);
    EXPECT_FALSE(fs::exists(host.SettingsRecordPath())) << "nothing is kept after a whole transfer";
  }
}

}  // namespace
