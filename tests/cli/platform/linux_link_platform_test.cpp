#include "cli/platform/linux_link_platform.h"

#include <gtest/gtest.h>

#include <deque>
#include <utility>
#include <vector>

#include "cli/platform/atkbd_repeat.h"
#include "link/typematic_link.h"

namespace {

// The kernel as it treats the repeat settings: the input core drops a value equal
// to the one it holds; a change makes one typematic command of both held values,
// rounded as the driver rounds; the driver writes the rounded values back, at
// once or only after the link has read the held ones again.
class FakeKernel : public KeyboardDevice {
 public:
  explicit FakeKernel(bool roundsLate) : roundsLate_(roundsLate) {}
  int held[2] = {250, 33};
  std::vector<std::pair<int, int>> commands;  // delay index, rate index
  std::deque<std::pair<int, int>> keyEvents;

  bool GetRepeat(int& delayMs, int& periodMs) override {
    delayMs = held[0];
    periodMs = held[1];
    return true;
  }
  void SetRepeat(int delayMs, int periodMs) override {
    if (roundsLate_) Round();
    const bool changed = delayMs != held[0] || periodMs != held[1];
    held[0] = delayMs;
    held[1] = periodMs;
    if (!changed) return;
    commands.push_back({AtkbdDelayIndex(held[0]), AtkbdPeriodIndex(held[1])});
    if (!roundsLate_) Round();
  }
  bool TakeKeyEvent(int& code, int& value) override {
    if (keyEvents.empty()) return false;
    std::tie(code, value) = keyEvents.front();
    keyEvents.pop_front();
    return true;
  }
  void WaitForEvent(int) override {}

 private:
  void Round() {
    held[0] = kAtkbdDelaysMs[AtkbdDelayIndex(held[0])];
    held[1] = kAtkbdPeriodsMs[AtkbdPeriodIndex(held[1])];
  }
  bool roundsLate_;
};

// Every setting reaches the keyboard as its own command, also when it repeats the
// last, for every entry of the driver's tables; the user's settings read from the
// kernel come back exactly.
TEST(LinuxLinkPlatform, EverySettingReachesTheKeyboard) {
  const struct { int delayMs, periodMs, delay, speed; } users[] = {
      {250, 33, 0, 31}, {500, 100, 1, 19}, {1000, 500, 3, 0}, {750, 34, 2, 30}, {251, 600, 1, 0},
  };
  for (const bool roundsLate : {false, true}) {
    for (const auto& user : users) {
      SCOPED_TRACE(testing::Message() << (roundsLate ? "rounds late, " : "") << user.delayMs << "/" << user.periodMs);
      FakeKernel kernel(roundsLate);
      kernel.held[0] = user.delayMs;
      kernel.held[1] = user.periodMs;
      LinuxLinkPlatform link(kernel);
      TypematicSettings saved;
      ASSERT_TRUE(SaveTypematicSettings(link, saved));
      EXPECT_EQ(saved.delay, user.delay);
      EXPECT_EQ(saved.speed, user.speed);
      std::vector<std::pair<int, int>> expected;
      for (int speed = 0; speed < kSpeedCount; ++speed) {
        for (int twice = 0; twice < 2; ++twice) {
          link.SetKeyboardSpeed(speed);
          expected.push_back({user.delay, kSpeedCount - 1 - speed});
        }
      }
      for (int delay : {0, 0, 1, 1, 2, 2, 3, 3}) {
        link.SetKeyboardDelay(delay);
        expected.push_back({delay, 0});
      }
      RestoreTypematicSettings(link, saved, true);
      EXPECT_EQ(kernel.commands.size(), expected.size() + 3);  // end signal, speed, delay
      kernel.commands.resize(std::min(kernel.commands.size(), expected.size()));
      EXPECT_EQ(kernel.commands, expected);
      int delay = -1;
      int speed = -1;
      EXPECT_TRUE(link.GetKeyboardDelay(delay) && link.GetKeyboardSpeed(speed));
      EXPECT_EQ(delay, saved.delay);
      EXPECT_EQ(speed, saved.speed);
    }
  }
}

TEST(LinuxLinkPlatform, KeyEventsAsTheLinkSeesThem) {
  const struct { int code, value; LinkMessageKind kind; int key; } cases[] = {
      {29, 1, LinkMessageKind::kKeyDown, 17}, {97, 2, LinkMessageKind::kKeyDown, 17},
      {42, 0, LinkMessageKind::kKeyUp, 16},   {54, 1, LinkMessageKind::kKeyDown, 16},
      {2, 1, LinkMessageKind::kKeyDown, '1'}, {10, 1, LinkMessageKind::kKeyDown, '9'},
      {11, 0, LinkMessageKind::kKeyUp, '0'},  {30, 1, LinkMessageKind::kKeyDown, 'A'},
      {47, 1, LinkMessageKind::kKeyDown, 'V'}, {16, 1, LinkMessageKind::kKeyDown, 'Q'},
      {50, 1, LinkMessageKind::kKeyDown, 'M'},
  };
  FakeKernel kernel(false);
  LinuxLinkPlatform link(kernel);
  for (const auto& c : cases) kernel.keyEvents.push_back({c.code, c.value});
  kernel.keyEvents.push_back({57, 1});  // space: a key, but no answer of the encoder
  for (const auto& c : cases) {
    const LinkMessage message = link.TakeMessage();
    EXPECT_EQ(message.kind, c.kind) << c.code;
    EXPECT_EQ(message.key, c.key) << c.code;
  }
  const LinkMessage space = link.TakeMessage();
  EXPECT_EQ(space.kind, LinkMessageKind::kKeyDown);
  EXPECT_TRUE(SymbolFromKey(space.key) == kNoSymbol && space.key != kKeyShift && space.key != kKeyControl);
  EXPECT_EQ(link.TakeMessage().kind, LinkMessageKind::kNone);
}

}  // namespace
