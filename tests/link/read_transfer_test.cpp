#include "link/read_transfer.h"

#include <gtest/gtest.h>

#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "sim/virtual_link.h"

namespace {

constexpr int kUserDelay = 2;
constexpr int kUserSpeed = 9;

struct ReadRun {
  int result;
  ConfigImage image;
};

ReadRun RunRead(VirtualLink& link) {
  link.platform.delay = kUserDelay;
  link.platform.speed = kUserSpeed;
  ReadRun run{-1, {}};
  run.result = ReadFromEncoder(link.platform, run.image);
  return run;
}

// Answer numbers of the device: 0 the start's Ctrl, then two per byte.
constexpr int FirstSymbolOf(int position) { return 1 + 2 * position; }
constexpr int SecondSymbolOf(int position) { return 2 + 2 * position; }

// The read's settings after the start signal: one delay 0 and one delay 2 per byte.
int BytesAsked(const std::vector<Setting>& settings) {
  int asked = 0;
  for (std::size_t i = StartSignal().size(); i < settings.size(); ++i) {
    if (settings[i] == Delay(0)) ++asked;
  }
  return asked;
}

void ExpectEndsWithTheUserDelay(const VirtualPlatform& platform) {
  EXPECT_EQ(Last(platform.Settings(), 2), (std::vector<Setting>{Delay(3), Delay(kUserDelay)}));
  EXPECT_EQ(CountSettings(platform.Settings(), SettingKind::kSpeed), 0);
  EXPECT_EQ(platform.delay, kUserDelay);
  EXPECT_EQ(platform.speed, kUserSpeed);
}

TEST(ReadFromEncoder, ReadsWholeConfigurationsInTransferOrder) {
  std::mt19937 random(11);
  const struct { int rows, columns; } sizes[] = {{1, 1}, {23, 1}, {1, 23}, {12, 12}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.rows << "x" << size.columns);
    VirtualLink link;
    const ConfigImage stored = RandomImage(size.rows, size.columns, random);
    link.device.SetImage(stored);
    const ReadRun run = RunRead(link);
    ASSERT_EQ(run.result, kTransferOk);
    EXPECT_TRUE(CarriedBytesEqual(stored, run.image));
    const int carried = CarriedBytes(stored);
    EXPECT_EQ(BytesAsked(link.platform.Settings()), carried);
    // Start signal, then strictly 0, 2 per byte, then the end.
    const std::vector<Setting>& settings = link.platform.Settings();
    ASSERT_EQ(Slice(settings, 0, 6), StartSignal());
    for (int p = 0; p < carried; ++p) {
      ASSERT_EQ(Slice(settings, 6 + 2 * p, 2), (std::vector<Setting>{Delay(0), Delay(2)})) << p;
    }
    EXPECT_EQ(settings.size(), 6u + 2u * carried + 2u);
    ExpectEndsWithTheUserDelay(link.platform);
    // No device latency: the fixed pauses and the last answer's time-out.
    EXPECT_EQ(link.platform.ElapsedMs(), 900u + kAnswerWaitMs);
  }
}

TEST(ReadFromEncoder, WaitsOnlyForTheDeviceAndTheLastRequestsTimeOut) {
  std::mt19937 random(5);
  const ConfigImage stored = RandomImage(12, 12, random);
  for (const std::uint32_t latency : {8u, 30u, 300u}) {
    SCOPED_TRACE(latency);
    VirtualLink link;
    link.device.SetImage(stored);
    link.device.SetLatency(latency);
    ASSERT_EQ(RunRead(link).result, kTransferOk);
    // Fixed pauses, one latency per answer (the start's and two per byte) but
    // the last, then 500 ms from the last request.
    EXPECT_EQ(link.platform.ElapsedMs(), 900u + 2u * 320u * latency + kAnswerWaitMs);
  }
}

// The last data byte of a 2 x 2 configuration is 0x46, typed K then 6. A user's
// whole keystroke "0" just before the encoder's K is taken as the first symbol
// and the K as the second: both check bits hold and the byte reads 0x04. The
// encoder's 6 is still coming, and it must not go unnoticed, also when it comes
// as late as the encoder may answer: before the last symbol, "0" reads 0x40.
TEST(ReadFromEncoder, AStrayKeystrokeTakenAsAnAnswerFailsTheRead) {
  std::mt19937 random(21);
  ConfigImage stored = RandomImage(2, 2, random);
  const int lastPosition = 31 + 2 * 2 * 2;
  stored[7] = 0x46;
  const struct { const char* name; std::uint32_t latency; int answer; std::uint32_t lateMs; } cases[] = {
      {"before the last byte's first symbol", 0, FirstSymbolOf(lastPosition), 0},
      {"before the last byte's first symbol, slow device", 40, FirstSymbolOf(lastPosition), 0},
      {"before a symbol mid-way", 3, SecondSymbolOf(12), 0},
      {"before the last symbol, 40 ms late", 5, SecondSymbolOf(lastPosition), 40},
      {"before the last symbol, 400 ms late", 5, SecondSymbolOf(lastPosition), 400},
      {"before the last byte's first symbol, late", 5, FirstSymbolOf(lastPosition), 300},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    link.device.SetImage(stored);
    link.device.SetLatency(c.latency);
    link.device.SetUserKey('0');
    link.device.InjectFault(SimFault::kUserKeyPress, c.answer);
    if (c.lateMs > 0) link.device.InjectFault(SimFault::kLateAnswer, c.answer, c.lateMs);
    EXPECT_EQ(RunRead(link).result, kTransferLinkError);
    ExpectEndsWithTheUserDelay(link.platform);
    EXPECT_TRUE(link.platform.Dispatched().empty()) << "keystrokes reach no window";
    if (c.answer >= FirstSymbolOf(lastPosition)) {
      EXPECT_EQ(link.platform.QueuedCount(), 0) << "the encoder's last answer is consumed";
    }
  }
}

// A stray taken as an answer and a later answer lost would balance out at the
// end; the encoder's answer waiting before the next request gives it away.
TEST(ReadFromEncoder, AnAnswerWaitingBeforeTheRequestFailsTheRead) {
  std::mt19937 random(23);
  const ConfigImage stored = RandomImage(2, 2, random);
  const int lastPosition = 31 + 2 * 2 * 2;
  VirtualLink link;
  link.device.SetImage(stored);
  link.device.InjectUserEvents(FirstSymbolOf(lastPosition), {{'4', true}, {'4', false}});
  link.device.InjectFault(SimFault::kNoAnswer, SecondSymbolOf(lastPosition));
  EXPECT_EQ(RunRead(link).result, kTransferLinkError);
  EXPECT_EQ(BytesAsked(link.platform.Settings()), lastPosition + 1);
  EXPECT_EQ(Last(link.platform.Settings(), 3), (std::vector<Setting>{Delay(0), Delay(3), Delay(kUserDelay)}))
      << "the second symbol is never asked for";
}

TEST(ReadFromEncoder, ALateKeyUpAfterTheLastAnswerDoesNotCount) {
  std::mt19937 random(22);
  VirtualLink link;
  link.device.SetImage(RandomImage(1, 1, random));
  // The Ctrl of Ctrl+R, released while the read ends.
  link.platform.QueueKeyUp(kKeyControl, 900 + 5);
  EXPECT_EQ(RunRead(link).result, kTransferOk);
}

TEST(ReadFromEncoder, FirstByteAndProgressTexts) {
  std::mt19937 random(3);
  ConfigImage stored = RandomImage(1, 1, random);
  stored[480] = 0x12;  // column pin R
  stored[481] = 0x01;  // row pin A
  VirtualLink link;
  link.device.SetImage(stored);
  const ReadRun run = RunRead(link);
  ASSERT_EQ(run.result, kTransferOk);
  EXPECT_EQ(run.image[480], 0x12);
  const std::vector<std::string>& texts = link.platform.ProgressTexts();
  ASSERT_EQ(texts.size(), 34u);
  EXPECT_EQ(texts[0], "Reading configuration - 3%\nReading data - 0%");
  EXPECT_EQ(texts[28], "Reading configuration - 90%\nReading data - 0%");
  EXPECT_EQ(texts[31], "Reading configuration - 100%\nReading data - 0%");
  EXPECT_EQ(texts[32], "Reading configuration - 100%\nReading data - 50%");
  EXPECT_EQ(texts[33], "Reading configuration - 100%\nReading data - 100%");
}

TEST(ReadFromEncoder, DataTextOnlyWhenThePercentageChanges) {
  std::mt19937 random(4);
  VirtualLink link;
  link.device.SetImage(RandomImage(12, 12, random));
  ASSERT_EQ(RunRead(link).result, kTransferOk);
  const std::vector<std::string>& texts = link.platform.ProgressTexts();
  ASSERT_EQ(texts.size(), 32u + 100u);
  EXPECT_EQ(texts[32], "Reading configuration - 100%\nReading data - 1%");
  EXPECT_EQ(texts.back(), "Reading configuration - 100%\nReading data - 100%");
  for (std::size_t i = 33; i < texts.size(); ++i) EXPECT_NE(texts[i], texts[i - 1]) << i;
}

struct FaultCase {
  const char* name;
  SimFault fault;
  int answer;
  int result;
  int bytesAsked;
  int secondsAsked;
};

TEST(ReadFromEncoder, EveryFaultEndsWithTheEndSignalAndTheUserDelay) {
  const FaultCase cases[] = {
      {"start not answered", SimFault::kNoAnswer, 0, kTransferNotFound, 0, 0},
      {"start answered with Shift", SimFault::kWrongKey, 0, kTransferNotFound, 0, 0},
      {"start answered late", SimFault::kLateAnswer, 0, kTransferNotFound, 0, 0},
      {"start keystroke broken", SimFault::kBrokenKeystroke, 0, kTransferNotFound, 0, 0},
      {"user key before the Ctrl", SimFault::kUserKeyPress, 0, kTransferNotFound, 0, 0},
      {"first symbol missing", SimFault::kNoAnswer, FirstSymbolOf(0), kTransferLinkError, 1, 0},
      {"first symbol's check bit", SimFault::kBadCheckBit, FirstSymbolOf(0), kTransferLinkError, 1, 1},
      {"second symbol's check bit", SimFault::kBadCheckBit, SecondSymbolOf(7), kTransferLinkError, 8, 8},
      {"wrong second symbol", SimFault::kWrongKey, SecondSymbolOf(40), kTransferLinkError, 41, 41},
      {"wrong first symbol", SimFault::kWrongKey, FirstSymbolOf(3), kTransferLinkError, 4, 4},
      {"broken keystroke", SimFault::kBrokenKeystroke, FirstSymbolOf(5), kTransferLinkError, 6, 5},
      {"late symbol", SimFault::kLateAnswer, SecondSymbolOf(300), kTransferLinkError, 301, 301},
      {"user key mid-transfer", SimFault::kUserKeyPress, FirstSymbolOf(100), kTransferLinkError, 101, 100},
  };
  std::mt19937 random(7);
  const ConfigImage stored = RandomImage(12, 12, random);
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    link.device.SetImage(stored);
    link.device.InjectFault(c.fault, c.answer);
    EXPECT_EQ(RunRead(link).result, c.result);
    const std::vector<Setting>& settings = link.platform.Settings();
    int firsts = 0;
    int seconds = 0;
    for (std::size_t i = 6; i + 2 < settings.size(); ++i) {  // up to the end signal
      firsts += settings[i] == Delay(0) ? 1 : 0;
      seconds += settings[i] == Delay(2) ? 1 : 0;
    }
    EXPECT_EQ(firsts, c.bytesAsked);
    EXPECT_EQ(seconds, c.secondsAsked);
    EXPECT_EQ(settings.size(), 6u + c.bytesAsked + c.secondsAsked + 2u);
    ExpectEndsWithTheUserDelay(link.platform);
    EXPECT_FALSE(link.device.InTransfer());
  }
}

TEST(ReadFromEncoder, NoEncoderCostsTheSignalTheWaitAndTheEndPause) {
  VirtualLink link;
  link.device.SetPresent(false);
  EXPECT_EQ(RunRead(link).result, kTransferNotFound);
  EXPECT_EQ(link.platform.ElapsedMs(), 750u + kAnswerWaitMs + 150u);
  ExpectEndsWithTheUserDelay(link.platform);
  EXPECT_EQ(link.platform.Settings().size(), 8u);
}

TEST(ReadFromEncoder, KeyThatIsNoSymbolEndsBeforeTheSecondIsAsked) {
  VirtualPlatform platform;
  platform.delay = kUserDelay;
  int delays = 0;
  platform.onSetting = [&](SettingKind kind, int value) {
    if (kind != SettingKind::kDelay) return;
    ++delays;
    if (delays == 6) platform.QueueKeystroke(kKeyControl);
    if (delays > 6 && value == 0) platform.QueueKeystroke('W');
  };
  ConfigImage image{};
  EXPECT_EQ(ReadFromEncoder(platform, image), kTransferLinkError);
  EXPECT_EQ(Slice(platform.Settings(), 6, 3),
            (std::vector<Setting>{Delay(0), Delay(3), Delay(kUserDelay)}));
}

struct HeaderCase {
  const char* name;
  int index;
  std::uint8_t value;
  int bytesAsked;
};

TEST(ReadFromEncoder, BadCountsOrPinsStopBeforeAnyDataByte) {
  const HeaderCase cases[] = {
      {"rows 0", kImageRows, 0, 29},
      {"rows 24", kImageRows, 24, 29},
      {"columns 0", kImageColumns, 0, 30},
      {"columns 24", kImageColumns, 24, 30},
      {"rows 12 + columns 13", kImageColumns, 13, 30},
      {"column pin 0", kImagePinArea, 0, 30},
      {"row pin 25", kImagePinArea + 23, 25, 30},
  };
  std::mt19937 random(9);
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigImage stored = RandomImage(12, 12, random);
    stored[c.index] = c.value;
    VirtualLink link;
    link.device.SetImage(stored);
    EXPECT_EQ(RunRead(link).result, kTransferInvalidConfig);
    EXPECT_EQ(BytesAsked(link.platform.Settings()), c.bytesAsked);
    const std::vector<std::string>& texts = link.platform.ProgressTexts();
    ASSERT_EQ(static_cast<int>(texts.size()), c.bytesAsked);
    EXPECT_EQ(texts.back(), c.bytesAsked == 29 ? "Reading configuration - 90%\nReading data - 0%"
                                               : "Reading configuration - 93%\nReading data - 0%");
    ExpectEndsWithTheUserDelay(link.platform);
  }
}

TEST(ReadFromEncoder, PinsPastTheLinesInUseAreNotChecked) {
  std::mt19937 random(10);
  ConfigImage stored = RandomImage(2, 3, random);
  stored[kImagePinArea + 5] = 0;
  stored[kImagePinArea + 23] = 200;
  VirtualLink link;
  link.device.SetImage(stored);
  EXPECT_EQ(RunRead(link).result, kTransferOk);
}

TEST(ReadFromEncoder, UnreadableSettingsStopBeforeAnythingIsSent) {
  for (const bool delayReadable : {false, true}) {
    VirtualLink link;
    link.platform.delayReadable = delayReadable;
    link.platform.speedReadable = !delayReadable;
    ConfigImage image{};
    EXPECT_EQ(ReadFromEncoder(link.platform, image), kTransferLinkError);
    EXPECT_TRUE(link.platform.Settings().empty());
    EXPECT_EQ(link.platform.ElapsedMs(), 0u);
  }
}

}  // namespace
