#include "sim/encoder_sim.h"

#include <gtest/gtest.h>

#include <set>

#include "link/transfer_fixtures.h"

namespace {

struct Typed {
  std::vector<SimKeyEvent> events;
  std::uint32_t latencyMs;
};

// A device whose answers (and the user's keys) are recorded instead of typed.
struct RecordingDevice {
  std::vector<Typed> typed;
  std::vector<Typed> userTyped;
  EncoderSim device{[this](const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs, SimKeySource source) {
    (source == SimKeySource::kEncoder ? typed : userTyped).push_back({events, latencyMs});
  }};

  void Delays(std::initializer_list<int> values) {
    for (int v : values) device.OnDelaySet(v);
  }
  void Speeds(int from, int to) {
    for (int s = from; s <= to; ++s) device.OnSpeedSet(s);
  }
  int LastKey() const { return typed.empty() ? -1 : typed.back().events.back().key; }
};

// Ctrl for nibbles with an even number of one-bits, Shift for odd.
constexpr int kAckForNibble[16] = {17, 16, 16, 17, 16, 17, 17, 16, 16, 17, 17, 16, 17, 16, 16, 17};

bool IsWholeKeystroke(const Typed& t, int key) {
  return t.events.size() == 2 && t.events[0].key == key && t.events[0].down &&
         t.events[1].key == key && !t.events[1].down;
}

TEST(EncoderSim, AnswersOnlyTheWholeStartSignal) {
  const struct { const char* name; std::vector<int> delays; bool answered; } cases[] = {
      {"start signal", {1, 0, 2, 0, 0, 0}, true},
      {"after other values", {3, 3, 1, 1, 0, 2, 0, 0, 0}, true},
      {"one zero short", {1, 0, 2, 0, 0}, false},
      {"end instead of the last", {1, 0, 2, 0, 0, 3}, false},
      {"wrong order", {0, 1, 2, 0, 0, 0}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDevice d;
    for (int v : c.delays) d.device.OnDelaySet(v);
    ASSERT_EQ(d.typed.size(), c.answered ? 1u : 0u);
    if (c.answered) {
      EXPECT_TRUE(IsWholeKeystroke(d.typed[0], kKeyControl));
    }
  }
}

TEST(EncoderSim, TypesTheStoredBytesInTransferOrder) {
  RecordingDevice d;
  ConfigImage image{};
  image[480] = 0x12;
  image[481] = 0x00;
  image[0] = 0xFF;
  d.device.SetImage(image);
  d.Delays({1, 0, 2, 0, 0, 0});
  d.Delays({0, 2, 0, 2});
  ASSERT_EQ(d.typed.size(), 5u);
  EXPECT_TRUE(IsWholeKeystroke(d.typed[1], '1'));
  EXPECT_TRUE(IsWholeKeystroke(d.typed[2], '2'));
  EXPECT_TRUE(IsWholeKeystroke(d.typed[3], 'G'));
  EXPECT_TRUE(IsWholeKeystroke(d.typed[4], 'G'));
  for (int p = 2; p < 32; ++p) d.Delays({0, 2});
  d.Delays({0, 2});  // position 32: image byte 0
  EXPECT_TRUE(IsWholeKeystroke(d.typed[d.typed.size() - 2], 'V'));
  EXPECT_TRUE(IsWholeKeystroke(d.typed.back(), 'V'));
  // The end signal stops it; a request afterwards goes unanswered.
  d.Delays({3, 0});
  EXPECT_FALSE(d.device.InTransfer());
  EXPECT_EQ(d.typed.size(), 1u + 2u * 33u);
}

TEST(EncoderSim, TypesEachByteAsItsOwnPairOfKeys) {
  const struct { int byte; char first, second; } cases[] = {
      {0x00, 'G', 'G'}, {0x01, '0', 'H'}, {0x12, '1', '2'},
      {0x7F, 'N', 'F'}, {0x80, 'O', '0'}, {0xFF, 'V', 'V'},
  };
  for (const auto& c : cases) {
    int first = -1;
    int second = -1;
    SymbolsForByte(static_cast<std::uint8_t>(c.byte), first, second);
    EXPECT_EQ(KeyForSymbol(first), c.first) << c.byte;
    EXPECT_EQ(KeyForSymbol(second), c.second) << c.byte;
  }
  std::set<std::pair<int, int>> pairs;
  for (int b = 0; b < 256; ++b) {
    int first = -1;
    int second = -1;
    SymbolsForByte(static_cast<std::uint8_t>(b), first, second);
    pairs.insert({first, second});
    for (int key : {KeyForSymbol(first), KeyForSymbol(second)}) {
      EXPECT_TRUE((key >= '0' && key <= '9') || (key >= 'A' && key <= 'V')) << b;
    }
  }
  EXPECT_EQ(pairs.size(), 256u);
}

TEST(EncoderSim, DefaultMappingLetsSeveralSpeedsArriveAsOne) {
  const EncoderSim::SpeedMapping mapping = EncoderSim::DefaultSpeedMapping();
  const std::set<int> values(mapping.begin(), mapping.end());
  EXPECT_GE(values.size(), 16u);
  EXPECT_LT(values.size(), 32u);
  for (int v : values) EXPECT_TRUE(v >= 0 && v < 32);
}

TEST(EncoderSim, ProbesAnswerOneKeyPerReceivedValue) {
  RecordingDevice d;
  d.Delays({1, 0, 2, 0, 0, 0, 1});
  d.Speeds(0, 31);
  ASSERT_EQ(d.typed.size(), 33u);
  const EncoderSim::SpeedMapping mapping = EncoderSim::DefaultSpeedMapping();
  for (int s = 0; s < 32; ++s) {
    for (int t = 0; t < 32; ++t) {
      const bool sameKey = d.typed[1 + s].events[0].key == d.typed[1 + t].events[0].key;
      EXPECT_EQ(sameKey, mapping[s] == mapping[t]) << s << "," << t;
    }
  }
}

TEST(EncoderSim, RefusesToConfirmAValueTwice) {
  RecordingDevice d;
  d.Delays({1, 0, 2, 0, 0, 0, 1});
  d.Speeds(0, 31);
  d.device.OnSpeedSet(0);
  EXPECT_EQ(d.LastKey(), kKeyControl);
  d.device.OnSpeedSet(1);  // arrives as the same value as speed 0
  EXPECT_EQ(d.LastKey(), kKeyShift);
}

TEST(EncoderSim, StoresOnlyACompletedWrite) {
  std::mt19937 random(31);
  const ConfigImage image = RandomImage(1, 2, random);
  const int speeds[16] = {0, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18, 20, 21, 23};
  for (const bool complete : {true, false}) {
    SCOPED_TRACE(complete ? "complete" : "interrupted");
    RecordingDevice d;
    const ConfigImage before = d.device.Image();
    d.Delays({1, 0, 2, 0, 0, 0, 1});
    d.Speeds(0, 31);
    for (int speed : speeds) d.device.OnSpeedSet(speed);
    std::vector<int> order = CarriedIndexes(image);
    if (!complete) order.pop_back();
    for (int index : order) {
      const int byte = image[index];
      d.device.OnSpeedSet(speeds[byte / 16]);
      EXPECT_EQ(d.LastKey(), kAckForNibble[byte / 16]);
      d.device.OnSpeedSet(speeds[byte % 16]);
      EXPECT_EQ(d.LastKey(), kAckForNibble[byte % 16]);
    }
    d.Delays({3});
    EXPECT_EQ(d.device.StoredWrites(), complete ? 1 : 0);
    if (complete) {
      EXPECT_TRUE(CarriedBytesEqual(image, d.device.Image()));
    } else {
      EXPECT_EQ(d.device.Image(), before);
    }
  }
}

TEST(EncoderSim, FaultsSpoilExactlyTheirAnswer) {
  struct Case {
    const char* name;
    std::vector<SimFault> faults;
    std::vector<SimKeyEvent> events;  // of answer 1: the first symbol of byte 0x12, key '1'
    std::uint32_t latencyMs;
    bool userKey;  // a user's Space at the usual latency, from another keyboard
  };
  const Case cases[] = {
      {"late", {SimFault::kLateAnswer}, {{'1', true}, {'1', false}}, 5 + EncoderSim::kLateMs, false},
      {"wrong key", {SimFault::kWrongKey}, {{'0', true}, {'0', false}}, 5, false},
      {"check bit", {SimFault::kBadCheckBit}, {{'H', true}, {'H', false}}, 5, false},
      {"broken", {SimFault::kBrokenKeystroke}, {{'1', true}, {'1', true}, {'1', false}}, 5, false},
      {"user key, the answer late", {SimFault::kUserKeyPress, SimFault::kLateAnswer}, {{'1', true}, {'1', false}},
       5 + EncoderSim::kLateMs, true},
      {"late and wrong", {SimFault::kWrongKey, SimFault::kLateAnswer}, {{'0', true}, {'0', false}},
       5 + EncoderSim::kLateMs, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDevice d;
    ConfigImage image{};
    image[480] = 0x12;
    d.device.SetImage(image);
    d.device.SetLatency(5);
    d.device.SetUserKey(' ');
    for (SimFault fault : c.faults) d.device.InjectFault(fault, 1);
    d.Delays({1, 0, 2, 0, 0, 0, 0, 2});
    ASSERT_EQ(d.typed.size(), 3u);
    EXPECT_TRUE(IsWholeKeystroke(d.typed[0], kKeyControl));
    ASSERT_EQ(d.typed[1].events.size(), c.events.size());
    for (std::size_t i = 0; i < c.events.size(); ++i) {
      EXPECT_EQ(d.typed[1].events[i].key, c.events[i].key) << i;
      EXPECT_EQ(d.typed[1].events[i].down, c.events[i].down) << i;
    }
    EXPECT_EQ(d.typed[1].latencyMs, c.latencyMs);
    EXPECT_TRUE(IsWholeKeystroke(d.typed[2], '2'));
    EXPECT_EQ(d.typed[2].latencyMs, 5u);
    ASSERT_EQ(d.userTyped.size(), c.userKey ? 1u : 0u);
    if (c.userKey) {
      EXPECT_TRUE(IsWholeKeystroke(d.userTyped[0], ' ') && d.userTyped[0].latencyMs == 5u);
    }
  }
}

TEST(EncoderSim, AbsentOrSilentDeviceTypesNothing) {
  RecordingDevice absent;
  absent.device.SetPresent(false);
  absent.Delays({1, 0, 2, 0, 0, 0, 0, 2});
  EXPECT_TRUE(absent.typed.empty());

  RecordingDevice silent;
  silent.device.InjectFault(SimFault::kNoAnswer, 0);
  silent.Delays({1, 0, 2, 0, 0, 0});
  EXPECT_TRUE(silent.typed.empty());
  silent.Delays({3, 1, 0, 2, 0, 0, 0});  // the fault acted once
  EXPECT_EQ(silent.typed.size(), 1u);
}

}  // namespace

// The typematic command bytes as a keyboard receives them: the encoder's state
// tells a read's delay signal from a write's rate, and a repeated byte counts.
TEST(EncoderSim, HearsEveryTypematicByteByItsState) {
  const struct {
    const char* name;
    std::vector<std::pair<int, int>> bytes;  // delay index, rate index
    std::size_t answers;
    bool inTransfer;
  } cases[] = {
      {"start at any rate", {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}}, 1, true},
      {"read: the delay field moves", {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}, {0, 9}, {2, 9}, {0, 9}}, 4, true},
      {"write: the same rate twice is two probes",
       {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}, {1, 9}, {1, 4}, {1, 4}}, 3, true},
      {"write: another delay field is no setting",
       {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}, {1, 9}, {0, 4}, {2, 4}}, 1, true},
      {"end whatever the rate", {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}, {1, 9}, {1, 4}, {3, 4}}, 2, false},
      {"start again in a write",
       {{1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}, {1, 9}, {1, 9}, {0, 9}, {2, 9}, {0, 9}, {0, 9}, {0, 9}},
       3, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDevice d;
    for (const auto& [delay, rate] : c.bytes) d.device.OnTypematicByte(TypematicByte(delay, rate));
    EXPECT_EQ(d.typed.size(), c.answers);
    EXPECT_EQ(d.device.InTransfer(), c.inTransfer);
  }
}
