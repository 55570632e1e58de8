#include "session/settings_record.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "cli/transfer_commands.h"
#include "sim/virtual_platform.h"

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& path) { return fs::exists(path); }

// A run records the user's settings; a later run that finds the record (the
// first was killed with link values set) puts them back and removes it.
TEST(SettingsRecord, PutsBackWhatAKilledRunLeft) {
  const fs::path path = fs::temp_directory_path() / ("rq57cfg-record-" + std::to_string(::getpid()));
  VirtualPlatform first;
  first.delay = 2;
  first.speed = 17;
  ASSERT_TRUE(RecordSettings(first, path.string()));

  VirtualPlatform later;  // the desktop as the killed transfer left it
  later.delay = 3;
  later.speed = 4;
  EXPECT_EQ(RestoreRecordedSettings(later, path.string()), RecordFound::kRestored);
  EXPECT_EQ(later.delay, 2);
  EXPECT_EQ(later.speed, 17);
  EXPECT_FALSE(Exists(path));
  EXPECT_EQ(RestoreRecordedSettings(later, path.string()), RecordFound::kNone);

  for (const char* garbled : {"", "2\n", "4 17\n", "2 32\n", "-1 3\n", "2 17", "2 17 x\n"}) {
    SCOPED_TRACE(garbled);
    std::ofstream(path, std::ios::binary) << garbled;
    VirtualPlatform desktop;
    EXPECT_EQ(RestoreRecordedSettings(desktop, path.string()), RecordFound::kUnreadable);
    EXPECT_TRUE(desktop.Settings().empty());
    EXPECT_FALSE(Exists(path));
  }
}

// Refused before any keyboard is looked for or touched.
TEST(TransferCommands, RefuseBeforeTheKeyboard) {
  EXPECT_EQ(ReadEncoderCommand("-"), 2);
  EXPECT_EQ(WriteEncoderCommand("missing.img", true), 2);
  // A node that is no PS/2 keyboard: the encoder cannot be on it.
  EXPECT_EQ(ReadEncoderCommand("never-written.img", "/dev/null"), 10);
  EXPECT_FALSE(Exists("never-written.img"));
}

}  // namespace
