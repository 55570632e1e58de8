#include "link/write_transfer.h"

#include <gtest/gtest.h>

#include "link/transfer_fixtures.h"
#include "link/typematic_link.h"
#include "sim/virtual_link.h"

namespace {

constexpr int kUserDelay = 0;
constexpr int kUserSpeed = 21;
// Settings before the probes: start signal and the write signal.
constexpr std::size_t kProbeStart = 7;
constexpr std::size_t kConfirmStart = kProbeStart + 32;
constexpr std::size_t kDataStart = kConfirmStart + 16;
// Answer numbers of the device: 0 the start's Ctrl, 1-32 probes, 33-48 confirmations.
constexpr int ProbeAnswerOf(int speed) { return 1 + speed; }
constexpr int ConfirmAnswerOf(int nibble) { return 33 + nibble; }
constexpr int NibbleAnswerOf(int position, int half) { return 49 + 2 * position + half; }

int RunWrite(VirtualLink& link, const ConfigImage& image) {
  link.platform.delay = kUserDelay;
  link.platform.speed = kUserSpeed;
  return WriteToEncoder(link.platform, image);
}

void ExpectEndsWithTheUserSettings(const VirtualPlatform& platform) {
  EXPECT_EQ(Last(platform.Settings(), 3),
            (std::vector<Setting>{Delay(3), Speed(kUserSpeed), Delay(kUserDelay)}));
  EXPECT_EQ(platform.delay, kUserDelay);
  EXPECT_EQ(platform.speed, kUserSpeed);
}

EncoderSim::SpeedMapping Mapping(int (*value)(int)) {
  EncoderSim::SpeedMapping mapping{};
  for (int s = 0; s < 32; ++s) mapping[s] = value(s);
  return mapping;
}

TEST(ChooseNibbleSpeeds, FirstSpeedsWithANewAnswer) {
  struct Case {
    const char* name;
    int (*answer)(int);
    bool ok;
    std::vector<int> speeds;
  };
  const Case cases[] = {
      {"all alike", [](int) { return 7; }, false, {0}},
      {"pairs", [](int s) { return s / 2; }, true, {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30}},
      {"20 distinct", [](int s) { return s < 20 ? 100 - s : 100; }, true,
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {"all distinct", [](int s) { return s; }, true,
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
      {"late newcomers", [](int s) { return s < 17 ? s % 3 : s; }, true,
       {0, 1, 2, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}},
      {"fifteen values", [](int s) { return s % 15; }, false, {}},
      {"exactly sixteen", [](int s) { return (s * 7) % 16; }, true,
       {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProbeAnswers answers{};
    for (int s = 0; s < 32; ++s) answers[s] = c.answer(s);
    NibbleSpeeds speeds{};
    speeds.fill(-1);
    EXPECT_EQ(ChooseNibbleSpeeds(answers, speeds), c.ok);
    for (std::size_t v = 0; v < c.speeds.size(); ++v) EXPECT_EQ(speeds[v], c.speeds[v]) << v;
  }
}

TEST(WriteToEncoder, StoresWholeConfigurations) {
  std::mt19937 random(21);
  const struct { int rows, columns; } sizes[] = {{1, 1}, {23, 1}, {1, 23}, {12, 12}};
  for (const auto& size : sizes) {
    SCOPED_TRACE(testing::Message() << size.rows << "x" << size.columns);
    VirtualLink link;
    ConfigImage before{};
    before.fill(0xEE);
    link.device.SetImage(before);
    const ConfigImage image = RandomImage(size.rows, size.columns, random);
    ASSERT_EQ(RunWrite(link, image), kTransferOk);
    EXPECT_EQ(link.device.StoredWrites(), 1);
    EXPECT_TRUE(CarriedBytesEqual(image, link.device.Image()));
    // Bytes past the data are not carried and keep the device's values.
    for (int i = size.rows * size.columns * 2; i < kImagePinArea; ++i) {
      ASSERT_EQ(link.device.Image()[i], before[i]) << i;
    }
    const std::vector<Setting>& settings = link.platform.Settings();
    EXPECT_EQ(Slice(settings, 0, 6), StartSignal());
    EXPECT_EQ(settings[6], Delay(1));
    EXPECT_EQ(settings[6].atMs, 750u);
    EXPECT_EQ(settings[kProbeStart].atMs, 900u);
    for (int s = 0; s < 32; ++s) EXPECT_EQ(settings[kProbeStart + s], Speed(s));
    const std::size_t nibbles = 2u * CarriedBytes(image);
    EXPECT_EQ(settings.size(), kDataStart + nibbles + 3u);
    EXPECT_EQ(CountSettings(settings, SettingKind::kDelay), 6 + 1 + 2);
    ExpectEndsWithTheUserSettings(link.platform);
    // The fixed pauses and the last acknowledgement's time-out.
    EXPECT_EQ(link.platform.ElapsedMs(), 1050u + kAnswerWaitMs);
  }
}

TEST(WriteToEncoder, CalibratesOnTheDefaultMappingAndSendsNibblesOnTheChosenSpeeds) {
  VirtualLink link;
  std::mt19937 random(22);
  ConfigImage image = RandomImage(1, 1, random);
  image[0] = 0x00;
  image[1] = 0x3C;
  image[kImagePinArea] = 0x12;
  image[kImagePinArea + 1] = 0x01;
  ASSERT_EQ(RunWrite(link, image), kTransferOk);
  // Default mapping: s * 2 / 3, so every third speed repeats its neighbour.
  const int expected[16] = {0, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18, 20, 21, 23};
  const std::vector<Setting>& settings = link.platform.Settings();
  for (int v = 0; v < 16; ++v) EXPECT_EQ(settings[kConfirmStart + v], Speed(expected[v])) << v;
  // Position 0: byte 0x12 as nibbles 1 and 2; position 32: 0x00; position 33: 0x3C.
  const std::pair<std::size_t, int> nibbles[] = {
      {0, 1}, {1, 2}, {64, 0}, {65, 0}, {66, 3}, {67, 12},
  };
  for (const auto& n : nibbles) EXPECT_EQ(settings[kDataStart + n.first], Speed(expected[n.second]));
}

TEST(WriteToEncoder, ProgressTexts) {
  std::mt19937 random(23);
  VirtualLink small;
  ASSERT_EQ(RunWrite(small, RandomImage(1, 1, random)), kTransferOk);
  const std::vector<std::string>& texts = small.platform.ProgressTexts();
  ASSERT_EQ(texts.size(), 34u);
  EXPECT_EQ(texts[0], "Writing configuration - 3%\nWriting data - 0%");
  EXPECT_EQ(texts[7], "Writing configuration - 25%\nWriting data - 0%");
  EXPECT_EQ(texts[31], "Writing configuration - 100%\nWriting data - 0%");
  EXPECT_EQ(texts[32], "Writing configuration - 100%\nWriting data - 50%");
  EXPECT_EQ(texts[33], "Writing configuration - 100%\nWriting data - 100%");

  VirtualLink large;
  ASSERT_EQ(RunWrite(large, RandomImage(12, 12, random)), kTransferOk);
  ASSERT_EQ(large.platform.ProgressTexts().size(), 132u);
  EXPECT_EQ(large.platform.ProgressTexts()[32], "Writing configuration - 100%\nWriting data - 1%");
}

TEST(WriteToEncoder, TooFewDistinctAnswersSendsNoConfirmation) {
  const struct { const char* name; int (*value)(int); } cases[] = {
      {"all alike", [](int) { return 4; }},
      {"fifteen values", [](int s) { return s % 15; }},
  };
  std::mt19937 random(24);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    link.device.SetSpeedMapping(Mapping(c.value));
    EXPECT_EQ(RunWrite(link, RandomImage(4, 4, random)), kTransferTooFewSpeeds);
    EXPECT_EQ(link.platform.Settings().size(), kConfirmStart + 3u);
    ExpectEndsWithTheUserSettings(link.platform);
  }
}

TEST(WriteToEncoder, CalibratesOnPairedAndTwentyDistinctAnswers) {
  const struct { const char* name; int (*value)(int); int firstUnused; } cases[] = {
      {"pairs", [](int s) { return s / 2; }, 32},
      {"20 distinct", [](int s) { return s < 20 ? s : 19; }, 16},
  };
  std::mt19937 random(25);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    link.device.SetSpeedMapping(Mapping(c.value));
    const ConfigImage image = RandomImage(5, 7, random);
    ASSERT_EQ(RunWrite(link, image), kTransferOk);
    EXPECT_TRUE(CarriedBytesEqual(image, link.device.Image()));
    // Speeds past the chosen sixteen are never set again after probing.
    const std::vector<Setting>& settings = link.platform.Settings();
    for (std::size_t i = kConfirmStart; i < settings.size() - 3; ++i) {
      ASSERT_EQ(settings[i].kind, SettingKind::kSpeed);
      if (c.firstUnused == 32) {
        EXPECT_EQ(settings[i].value % 2, 0);
      } else {
        EXPECT_LT(settings[i].value, c.firstUnused);
      }
    }
  }
}

struct FaultCase {
  const char* name;
  SimFault fault;
  int answer;
  int result;
  std::size_t settingsBeforeEnd;
  std::uint32_t elapsedMs;  // 0: not checked
};

TEST(WriteToEncoder, EveryFaultEndsWithTheEndSignalAndTheUserSettings) {
  const FaultCase cases[] = {
      {"start not answered", SimFault::kNoAnswer, 0, kTransferNotFound, 6, 750 + kAnswerWaitMs + 150},
      {"start answered with Shift", SimFault::kWrongKey, 0, kTransferNotFound, 6, 900},
      {"no answer to probe 9", SimFault::kNoAnswer, ProbeAnswerOf(9), kTransferLinkError, kProbeStart + 10, 0},
      {"broken probe 0", SimFault::kBrokenKeystroke, ProbeAnswerOf(0), kTransferLinkError, kProbeStart + 1, 0},
      {"doubled probe 3", SimFault::kDoubledAnswer, ProbeAnswerOf(3), kTransferLinkError, kProbeStart + 4, 0},
      {"doubled confirmation 2", SimFault::kDoubledAnswer, ConfirmAnswerOf(2), kTransferLinkError,
       kConfirmStart + 3, 0},
      {"late probe 31", SimFault::kLateAnswer, ProbeAnswerOf(31), kTransferLinkError, kProbeStart + 32, 0},
      {"confirmation with Shift", SimFault::kWrongKey, ConfirmAnswerOf(4), kTransferLinkError, kConfirmStart + 5, 0},
      {"confirmation too late", SimFault::kLateAnswer, ConfirmAnswerOf(0), kTransferLinkError, kConfirmStart + 1,
       900 + kConfirmTimeoutMs + 1 + 150},
      {"user key at a confirmation", SimFault::kUserKeyPress, ConfirmAnswerOf(15), kTransferLinkError,
       kConfirmStart + 16, 0},
      {"wrong acknowledgement", SimFault::kWrongKey, NibbleAnswerOf(0, 1), kTransferLinkError, kDataStart + 2, 0},
      {"missing acknowledgement", SimFault::kNoAnswer, NibbleAnswerOf(100, 0), kTransferLinkError,
       kDataStart + 201, 900 + kAnswerWaitMs + 150},
      {"broken acknowledgement", SimFault::kBrokenKeystroke, NibbleAnswerOf(31, 1), kTransferLinkError,
       kDataStart + 64, 0},
      {"user key mid-transfer", SimFault::kUserKeyPress, NibbleAnswerOf(200, 1), kTransferLinkError,
       kDataStart + 402, 0},
  };
  std::mt19937 random(26);
  const ConfigImage image = RandomImage(12, 12, random);
  for (const FaultCase& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    const ConfigImage before = link.device.Image();
    link.device.InjectFault(c.fault, c.answer);
    EXPECT_EQ(RunWrite(link, image), c.result);
    EXPECT_EQ(link.platform.Settings().size(), c.settingsBeforeEnd + 3);
    ExpectEndsWithTheUserSettings(link.platform);
    if (c.elapsedMs != 0) {
      EXPECT_EQ(link.platform.ElapsedMs(), c.elapsedMs);
    }
    EXPECT_EQ(link.device.StoredWrites(), 0);
    EXPECT_EQ(link.device.Image(), before);
  }
}

// Answers that fall behind a user's key taken for one: a key waiting before the
// next request ends the write, and so does the encoder's own answer coming late,
// up to the 500 ms it may take; at the last nibble only the final wait sees it.
// The encoder may have misread the nibble, the user's key having the parity the
// host expects.
TEST(WriteToEncoder, AnAnswerLeftWaitingOrLateIsALinkError) {
  std::mt19937 random(28);
  const ConfigImage image = RandomImage(2, 3, random);
  const int last = NibbleAnswerOf(31 + 2 * 3 * 2, 1);
  constexpr int kRightKey = -1;
  const struct { const char* name; int answer; std::uint32_t lateMs; bool misread; int userKey;
                 std::size_t stopsAfter; } cases[] = {
      {"doubled acknowledgement", NibbleAnswerOf(5, 0), 0, false, 0, kDataStart + 11},
      {"misread behind the user's right key", NibbleAnswerOf(5, 0), 0, true, kRightKey, kDataStart + 11},
      {"last nibble misread, 40 ms late", last, 40, true, kRightKey, 0},
      {"last nibble misread, 400 ms late", last, 400, true, kRightKey, 0},
      {"a nibble misread, 150 ms late", NibbleAnswerOf(20, 0), 150, true, kRightKey, 0},
      {"probe 31, 150 ms late", ProbeAnswerOf(31), 150, false, 'Q', 0},
      {"confirmation 15, 150 ms late", ConfirmAnswerOf(15), 150, false, kKeyControl, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    VirtualLink link;
    link.device.SetLatency(5);
    const int n = c.answer - NibbleAnswerOf(0, 0);
    const int byte = image[(kImagePinArea + n / 2) % kImageSize];
    const int rightKey = __builtin_popcount(n % 2 == 0 ? byte / 16u : byte % 16u) % 2 == 0 ? kKeyControl : kKeyShift;
    const int key = c.userKey == kRightKey ? rightKey : c.userKey;
    if (key != 0) link.device.InjectUserEvents(c.answer, {{key, true}, {key, false}});
    if (key == 0) link.device.InjectFault(SimFault::kDoubledAnswer, c.answer);
    if (c.lateMs > 0) link.device.InjectFault(SimFault::kLateAnswer, c.answer, c.lateMs);
    if (c.misread) link.device.InjectFault(SimFault::kMisreadNibble, c.answer, 2);
    EXPECT_EQ(RunWrite(link, image), kTransferLinkError);
    if (c.stopsAfter != 0) {
      EXPECT_EQ(link.platform.Settings().size(), c.stopsAfter + 3) << "stops at once";
      EXPECT_EQ(link.device.StoredWrites(), 0);
    }
    ExpectEndsWithTheUserSettings(link.platform);
    EXPECT_TRUE(link.platform.Dispatched().empty()) << "keystrokes reach no window";
  }
}

TEST(WriteToEncoder, CtrlAnsweredToAnOddNibbleIsALinkError) {
  std::mt19937 random(27);
  ConfigImage image = RandomImage(1, 1, random);
  image[kImagePinArea] = 0x12;
  image[kImagePinArea + 1] = 0x01;
  VirtualLink link;
  link.device.InjectFault(SimFault::kWrongKey, NibbleAnswerOf(0, 0));  // Shift becomes Ctrl
  EXPECT_EQ(RunWrite(link, image), kTransferLinkError);
  EXPECT_EQ(link.platform.Settings().size(), kDataStart + 1 + 3);
}

TEST(WriteToEncoder, InvalidImageOrUnreadableSettingsSendNothing) {
  std::mt19937 random(28);
  ConfigImage bad = RandomImage(3, 3, random);
  bad[kImageRows] = 0;
  VirtualLink first;
  EXPECT_EQ(RunWrite(first, bad), kTransferBadImage);
  EXPECT_TRUE(first.platform.Settings().empty());

  for (const bool delayReadable : {false, true}) {
    VirtualLink link;
    link.platform.delayReadable = delayReadable;
    link.platform.speedReadable = !delayReadable;
    EXPECT_EQ(WriteToEncoder(link.platform, RandomImage(3, 3, random)), kTransferLinkError);
    EXPECT_TRUE(link.platform.Settings().empty());
  }
}

TEST(WriteToEncoder, WaitsOnlyForTheDeviceAndTheLastRequestsTimeOut) {
  std::mt19937 random(29);
  VirtualLink link;
  link.device.SetLatency(8);
  ASSERT_EQ(RunWrite(link, RandomImage(12, 12, random)), kTransferOk);
  // The last acknowledgement's latency lies inside its 500 ms.
  EXPECT_EQ(link.platform.ElapsedMs(), 1050u + (32u + 16u + 640u) * 8u + kAnswerWaitMs);
}

}  // namespace
