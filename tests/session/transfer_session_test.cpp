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

// A read killed in the middle of the data, or a write before its last nibble,
// leaves the encoder in its transfer, link values set and the record. The next
// session ends the encoder's transfer, then puts the settings back, then reads
// what the encoder holds. A record found under another transfer's lock stays.
TEST(TransferSession, RecoversAKilledTransferBeforeAnythingElse) {
  std::mt19937 random(61);
  const ConfigImage image = RandomImage(3, 3, random);
  for (const bool write : {false, true}) {
    SCOPED_TRACE(write ? "write" : "read");
    ModelHost host;
    VirtualPlatform& platform = host.link.platform;
    platform.delay = 2;
    platform.speed = 17;
    host.link.device.SetImage(RandomImage(4, 2, random));
    ASSERT_TRUE(RecordSettings(platform, host.path));
    const int killedAt = write ? AnswerCount(true, image) - 1 : AnswerCount(false, host.link.device.Image()) / 2;
    const auto answer = platform.onSetting;
    platform.onSetting = [&](SettingKind kind, int value) {
      if (host.link.device.AnswerCount() == killedAt) throw Killed{};
      answer(kind, value);
    };
    ConfigImage read{};
    EXPECT_THROW(write ? WriteToEncoder(platform, image) : ReadFromEncoder(platform, read), Killed);
    platform.onSetting = answer;
    ASSERT_TRUE(host.link.device.InTransfer());

    host.locked = true;  // another transfer runs
    EXPECT_FALSE(RecoverKilledTransfer(host) || !fs::exists(host.path));
    host.locked = false;
    platform.ClearRecords();
    {
      TransferSession session(host);
      ASSERT_TRUE(session.Open() && session.Recovered());
      EXPECT_EQ(Slice(platform.Settings(), 0, 3), (std::vector<Setting>{Delay(3), Speed(17), Delay(2)}));
      EXPECT_EQ(ReadFromEncoder(session.Link(), read), kTransferOk);
      EXPECT_TRUE(CarriedBytesEqual(host.link.device.Image(), read));
    }
    EXPECT_FALSE(host.locked);
    EXPECT_FALSE(fs::exists(host.path)) << "nothing is kept after a whole transfer";
  }
}

}  // namespace
