// Randomized reads and writes against the device model in virtual time, about
// half of them with faults drawn at random: answers dropped, doubled or late,
// nibbles misread, stray keystrokes of a user on another keyboard, a stray
// before an answer that comes late (and for a write also misread), the encoder
// gone, latency jitter, a coarse timer, a clock that wraps, stops. Counts the
// transfers that reported success with wrong data and those that left the
// user's settings changed; both must stay at zero.
//
// An answer the encoder loses (dropped, gone, or later than the 500 ms it may
// take) with a user's key in its place cannot be told from the answer by any
// host; so transfers with lost answers draw no user's keys.
//
//   link_soak TRANSFERS [SEED]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "link/read_transfer.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "../link/transfer_fixtures.h"
#include "sim/encoder_sim.h"
#include "sim/virtual_link.h"

namespace {

constexpr std::uint32_t kDefaultSeed = 57;
constexpr int kFirstProbeAnswer = 1;                         // after the start's Ctrl
constexpr int kFirstNibbleAnswer = 1 + kSpeedCount + kNibbleCount;
constexpr std::uint32_t kRepeatDelayMs = 250;  // keyboard delay 0, set by the start signal
constexpr std::uint32_t kRepeatEveryMs = 33;
constexpr int kMaxReportedFaults = 5;
constexpr int kLastBandMs = 16;  // a coarse clock's step before the 500 ms an answer may take
constexpr int kStopReachUs = (kAnswerTimeoutMs + kLastBandMs) * 1000;

struct Counts {
  int transfers = 0;
  int succeeded = 0;
  int falseSuccesses = 0;
  int corruptedAccepted = 0;
  int notRestored = 0;
};

int Below(std::mt19937& random, int n) { return n > 0 ? static_cast<int>(random() % static_cast<unsigned>(n)) : 0; }
bool OneIn(std::mt19937& random, int n) { return Below(random, n) == 0; }

// Lateness within what latency and jitter leave of the 500 ms, half the time in
// its last band: the answer comes anywhere up to just below 500 ms.
std::uint32_t LateInside(std::mt19937& random, int budgetMs) {
  const int late = OneIn(random, 2) ? budgetMs - Below(random, kLastBandMs) : 1 + Below(random, budgetMs);
  return static_cast<std::uint32_t>(late < 1 ? 1 : late);
}

constexpr int kEndAnswers = 4;

// Keys a user may press while a transfer runs: letters, digits, Space, Ctrl, Shift.
// Half of them are keys that also carry link symbols, the hardest to tell apart.
int StrayKey(std::mt19937& random) {
  if (OneIn(random, 2)) {
    const int symbol = Below(random, 32);
    return symbol < 10 ? '0' + symbol : 'A' + symbol - 10;
  }
  const int pick = Below(random, 40);
  if (pick < 26) return 'A' + pick;
  if (pick < 36) return '0' + (pick - 26);
  if (pick < 37) return ' ';
  return pick < 39 ? kKeyControl : kKeyShift;
}

std::vector<SimKeyEvent> Stroke(int key) { return {{key, true}, {key, false}}; }

// Where a fault falls: among the last answers, where the fewest checks follow;
// anywhere; or among a write's probes and confirmations.
int PickAnswer(std::mt19937& random, bool write, int answers) {
  switch (answers <= kEndAnswers ? 1 : Below(random, write ? 3 : 2)) {
    case 0: return answers - 1 - Below(random, kEndAnswers);
    case 1: return Below(random, answers);
    default: return kFirstProbeAnswer + Below(random, kFirstNibbleAnswer - kFirstProbeAnswer);
  }
}

// The key a write's answer should be, as the device codes it: what a user's key
// must be to pass for it.
int ExpectedWriteKey(const ConfigImage& sent, int answer, std::mt19937& random) {
  if (answer < kFirstProbeAnswer) return kKeyControl;
  if (answer < kFirstProbeAnswer + kSpeedCount) return StrayKey(random);  // any key passes
  if (answer < kFirstNibbleAnswer) return kKeyControl;
  const int nibble = answer - kFirstNibbleAnswer;
  const int byte = sent[CarriedIndexes(sent)[static_cast<std::size_t>(nibble / 2)]];
  return AckKeyFor(nibble % 2 == 0 ? byte >> 4 : byte & kNibbleMask);
}

// A user's keystroke at the usual latency while the encoder's own answer comes
// late; for a write nibble half the time misread as well, with the user's key
// of the parity the host expects.
void PlantLateBehindStray(std::mt19937& random, EncoderSim& device, bool write, const ConfigImage& sent,
                          int lateBudgetMs, int at, std::string& what) {
  device.InjectFault(SimFault::kLateAnswer, at, LateInside(random, lateBudgetMs));
  const int key = write && OneIn(random, 2) ? ExpectedWriteKey(sent, at, random) : StrayKey(random);
  device.InjectUserEvents(at, Stroke(key));
  what += " stray-then-late@" + std::to_string(at);
  if (write && at >= kFirstNibbleAnswer && OneIn(random, 2)) {
    device.InjectFault(SimFault::kMisreadNibble, at, static_cast<std::uint32_t>(Below(random, 4)));
    what += "+misread";
  }
}

// Plants one fault of the drawn kind among the transfer's answers. A lossy
// transfer draws lost answers and no user's keys, the others the reverse.
void PlantFault(std::mt19937& random, VirtualLink& link, bool write, bool lossy, const ConfigImage& sent,
                int lateBudgetMs, int answers, std::string& what) {
  EncoderSim& device = link.device;
  const int at = PickAnswer(random, write, answers);
  const int kind = Below(random, 12);
  if (lossy && kind >= 5) {
    switch (kind % 3) {
      case 0: device.InjectFault(SimFault::kNoAnswer, at); what += " dropped@" + std::to_string(at); break;
      case 1:
        device.InjectFault(SimFault::kLateAnswer, at, static_cast<std::uint32_t>(500 + Below(random, 2000)));
        what += " late-past@" + std::to_string(at);
        break;
      default: device.InjectFault(SimFault::kGone, at); what += " gone@" + std::to_string(at); break;
    }
    return;
  }
  switch (kind) {
    case 0: device.InjectFault(SimFault::kDoubledAnswer, at); what += " doubled@" + std::to_string(at); break;
    case 1:
      device.InjectFault(SimFault::kLateAnswer, at, LateInside(random, lateBudgetMs));
      what += " late-inside@" + std::to_string(at);
      break;
    case 2:
      if (write && answers > kFirstNibbleAnswer) {
        const int nibble = kFirstNibbleAnswer + Below(random, answers - kFirstNibbleAnswer);
        device.InjectFault(SimFault::kMisreadNibble, nibble, static_cast<std::uint32_t>(Below(random, 4)));
        what += " misread@" + std::to_string(nibble);
      } else {
        device.InjectFault(SimFault::kWrongKey, at);
        what += " wrong-key@" + std::to_string(at);
      }
      break;
    case 3: device.InjectUserEvents(at, {{StrayKey(random), false}}); what += " lone-up@" + std::to_string(at); break;
    case 4: device.InjectFault(SimFault::kBrokenKeystroke, at); what += " broken@" + std::to_string(at); break;
    case 5:
    case 6:
    case 7: PlantLateBehindStray(random, device, write, sent, lateBudgetMs, at, what); break;
    case 8: {
      // One or two whole keystrokes of the user just before the answer: an
      // even number shifts the rest of a read by whole bytes.
      const int strokes = 1 + Below(random, 2);
      for (int i = 0; i < strokes; ++i) device.InjectUserEvents(at, Stroke(StrayKey(random)));
      what += (strokes == 1 ? " stray-stroke@" : " two-strokes@") + std::to_string(at);
      break;
    }
    case 9: {
      const int modifier = OneIn(random, 2) ? kKeyControl : kKeyShift;
      if (OneIn(random, 2)) {
        const int key = StrayKey(random);
        device.InjectUserEvents(at, {{modifier, true}, {key, true}, {key, false}, {modifier, false}});
        what += " chord@" + std::to_string(at);
      } else {
        device.InjectUserEvents(at, {{modifier, true}});
        device.InjectUserEvents(at + 1 + Below(random, 5), {{modifier, false}});
        what += " held@" + std::to_string(at);
      }
      break;
    }
    case 10: {
      // Ctrl still held from Ctrl+R: it repeats once the start signal sets delay 0.
      const std::uint32_t heldMs = static_cast<std::uint32_t>(Below(random, 2500));
      for (std::uint32_t t = kRepeatDelayMs; t < heldMs; t += kRepeatEveryMs) {
        link.platform.QueueKeyDown(kKeyControl, t);
      }
      link.platform.QueueKeyUp(kKeyControl, heldMs);
      what += " ctrl-repeat";
      break;
    }
    default:
      // A keystroke at any moment, not tied to an answer.
      link.platform.QueueKeystroke(StrayKey(random), static_cast<std::uint32_t>(Below(random, 20000)));
      what += " stray-any-time";
      break;
  }
}

VirtualPlatform::Options DrawPlatform(std::mt19937& random) {
  VirtualPlatform::Options options;
  options.tickUs = OneIn(random, 4) ? 15625 : 1000;
  options.phaseUs = static_cast<std::uint32_t>(Below(random, 15625));
  // A quarter of the transfers run while the 32-bit millisecond clock wraps.
  options.clockStartMs = OneIn(random, 4) ? 0xFFFFFFFFu - static_cast<std::uint32_t>(Below(random, 30000))
                                          : static_cast<std::uint32_t>(random());
  return options;
}

// A stop at a random moment of the whole transfer, or of its final wait.
void PlantStop(std::mt19937& random, VirtualLink& link, int answers, std::string& what) {
  const int after = OneIn(random, 2) ? answers - 1 : Below(random, answers);
  const int delayUs = Below(random, kStopReachUs);
  StopAfterAnswer(link, after, static_cast<std::uint64_t>(delayUs));
  what += " stop@" + std::to_string(after) + "+" + std::to_string(delayUs) + "us";
}

void Report(const char* kind, int transfer, const std::string& what, int& reported) {
  if (reported++ >= kMaxReportedFaults) return;
  std::fprintf(stderr, "soak: transfer %d: %s (faults at answers:%s)\n", transfer, kind,
               what.empty() ? " none" : what.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::atoi(argv[1]) < 0) {
    std::fprintf(stderr, "usage: link_soak TRANSFERS [SEED]\n");
    return 2;
  }
  const int transfers = std::atoi(argv[1]);
  const std::uint32_t seed = argc > 2 ? static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)) : kDefaultSeed;
  std::mt19937 random(seed);
  ConfigImage stored = RandomImage(4, 4, random);
  Counts counts;
  int reported = 0;

  for (int t = 0; t < transfers; ++t) {
    const bool write = OneIn(random, 2);
    const bool faulty = OneIn(random, 2);
    // Small matrices half the time, so that faults near the end are common.
    const bool small = OneIn(random, 2);
    const int rows = 1 + Below(random, small ? 4 : 23);
    const int columns = 1 + Below(random, small ? 4 : 24 - rows);
    const ConfigImage sent = RandomImage(rows, columns, random);
    const std::uint32_t jitterMs = faulty && OneIn(random, 2) ? static_cast<std::uint32_t>(Below(random, 60)) : 0;
    const int latencyMs = Below(random, 20);

    VirtualLink bench(DrawPlatform(random));
    bench.jitterUs = [&random, jitterMs] {
      return (jitterMs > 0 ? std::uint64_t{random() % (jitterMs + 1)} : 0) * 1000 + random() % 1000;
    };
    const int userDelay = Below(random, 4);
    const int userSpeed = Below(random, 32);
    bench.platform.delay = userDelay;
    bench.platform.speed = userSpeed;
    bench.device.SetImage(stored);
    bench.device.SetLatency(static_cast<std::uint32_t>(latencyMs));
    bench.device.SetUserKey(StrayKey(random));

    std::string what;
    const int answers = AnswerCount(write, write ? sent : stored);
    if (faulty) {
      const int planted = 1 + Below(random, 3);
      const bool lossy = OneIn(random, 3);
      const int lateBudgetMs = kAnswerTimeoutMs - 1 - latencyMs - static_cast<int>(jitterMs);
      for (int f = 0; f < planted; ++f) PlantFault(random, bench, write, lossy, sent, lateBudgetMs, answers, what);
      if (jitterMs > 0) what += " jitter";
    }
    if (OneIn(random, 4)) PlantStop(random, bench, answers, what);

    ++counts.transfers;
    bool ok = false;
    if (write) {
      const int storedWrites = bench.device.StoredWrites();
      ok = WriteToEncoder(bench.platform, sent) == kTransferOk;
      if (ok && (bench.device.StoredWrites() != storedWrites + 1 || !CarriedBytesEqual(sent, bench.device.Image()))) {
        ++counts.falseSuccesses;
        Report("write reported success, the encoder holds other data", t, what, reported);
      }
    } else {
      ConfigImage read{};
      ok = ReadFromEncoder(bench.platform, read) == kTransferOk;
      if (ok && !CarriedBytesEqual(stored, read)) {
        ++counts.falseSuccesses;
        ConfigModel model;
        ResetModel(model);
        if (DecodeImage(read, model)) ++counts.corruptedAccepted;
        Report("read returned an image other than the encoder's", t, what, reported);
      }
    }
    if (ok) ++counts.succeeded;
    if (bench.platform.delay != userDelay || bench.platform.speed != userSpeed) {
      ++counts.notRestored;
      Report("settings not restored", t, what, reported);
    }
    // The encoder keeps what it stored, whatever the host made of it.
    stored = bench.device.Image();
  }

  std::printf("soak: %d transfers, %d succeeded, %d false successes, %d corrupted accepted, %d settings not restored\n",
              counts.transfers, counts.succeeded, counts.falseSuccesses, counts.corruptedAccepted,
              counts.notRestored);
  return counts.falseSuccesses == 0 && counts.corruptedAccepted == 0 && counts.notRestored == 0 ? 0 : 1;
}
