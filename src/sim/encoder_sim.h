// Device model of the encoder: hears every typematic command byte the keyboard
// receives, in order, and types its answers through a sink, as the link expects
// the device to.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <map>
#include <vector>

#include "link/wire_constants.h"
#include "model/config.h"

// What the programs built on the device model call the encoder behind their link,
// so that nobody takes them for the ones that program the real encoder.
constexpr char kSimulatedEncoderName[] = "simulated RQ57";

struct SimKeyEvent {
  int key;    // virtual-key code
  bool down;  // key-down, else key-up
};

// Who typed the events: the encoder, whose answers arrive in the order it types
// them, or a user on another keyboard, whose keys may come at any time.
enum class SimKeySource { kEncoder, kOtherKeyboard };

// Receives the events of one answer (or a user's keys), to arrive latencyMs
// after the setting.
using SimKeySink = std::function<void(const std::vector<SimKeyEvent>& events, std::uint32_t latencyMs,
                                      SimKeySource source)>;

enum class SimFault {
  kNoAnswer,         // the answer is never typed
  kLateAnswer,       // typed later by the fault's detail in ms (kLateMs when 0)
  kWrongKey,         // another key than the right one
  kBrokenKeystroke,  // a second key-down before the key-up
  kBadCheckBit,      // a read symbol with its check bit flipped
  kUserKeyPress,     // a user's keystroke arrives at the usual latency, before the answer
  kDoubledAnswer,    // the keystroke typed twice
  kMisreadNibble,    // a written nibble received with bit `detail` (0-3) flipped
  kMisreadSameParity,  // a written nibble received with bits `detail` and the next (0-2) flipped:
                       // the acknowledgement is right, the byte stored is wrong
  kGone,             // the device is gone from this answer on
};

// The parameter of the keyboard's typematic command (0xF3): the rate index in
// bits 0-4, the delay index in bits 5-6.
constexpr int kTypematicCommand = 0xF3;
constexpr int kTypematicRateMask = 0x1F;
constexpr int kTypematicDelayShift = 5;
constexpr int kTypematicDelayMask = 0x03;
constexpr std::uint8_t TypematicByte(int delayIndex, int rateIndex) {
  return static_cast<std::uint8_t>((delayIndex & kTypematicDelayMask) << kTypematicDelayShift |
                                   (rateIndex & kTypematicRateMask));
}

class EncoderSim {
 public:
  static constexpr int kSpeeds = kSpeedCount;
  // The rate index the keyboard driver sends for each speed setting.
  using SpeedMapping = std::array<int, kSpeeds>;
  static constexpr std::uint32_t kLateMs = 2100;

  // Several speeds arrive as one rate index: 21 distinct values, as from a
  // driver whose table of rates is coarser than the settings.
  static SpeedMapping DefaultSpeedMapping();

  explicit EncoderSim(SimKeySink sink);

  // The device's one input: the parameter byte of a typematic command. Every
  // byte is a signal, also one that repeats the last.
  void OnTypematicByte(std::uint8_t command);

  // The desktop's settings as a Windows keyboard driver passes them on: each
  // setting sends the byte of the current delay and the speed's rate index.
  void OnDelaySet(int delay);
  void OnSpeedSet(int speed);

  void SetSpeedMapping(const SpeedMapping& mapping);
  void SetLatency(std::uint32_t ms) { latencyMs_ = ms; }
  void SetPresent(bool present) { present_ = present; }
  void SetUserKey(int key) { userKey_ = key; }
  void SetImage(const ConfigImage& image) { image_ = image; }
  const ConfigImage& Image() const { return image_; }

  // Spoils answer number `answer` of the next transfer that reaches it
  // (0 is the answer to the start signal); each fault acts once. Faults of
  // different kinds on one answer act together (late and misread, say).
  void InjectFault(SimFault fault, int answer, std::uint32_t detail = 0);
  // A user's key events from another keyboard, arriving extraMs after the usual
  // latency of answer number `answer` (before the answer when 0), whatever
  // becomes of the answer itself.
  void InjectUserEvents(int answer, const std::vector<SimKeyEvent>& events, std::uint32_t extraMs = 0);
  void ClearFaults() {
    faults_.clear();
    userEvents_.clear();
  }

  // Answers due in the current transfer so far, typed or not.
  int AnswerCount() const { return answers_; }
  // Writes completed and stored since construction.
  int StoredWrites() const { return storedWrites_; }
  bool InTransfer() const { return mode_ != Mode::kIdle; }

 private:
  enum class Mode { kIdle, kStarted, kReading, kProbing, kConfirming, kReceiving };

  struct Fault {
    SimFault fault;
    std::uint32_t detail;
  };
  struct UserEvents {
    std::vector<SimKeyEvent> events;
    std::uint32_t extraMs;
  };

  void Start();
  void End();
  void AnswerRead(int delay);
  // A write's speed setting, as the rate index received.
  void OnRate(int rate);
  // One answer: a symbol (0-31), or a key when symbol is negative.
  void Answer(int key, int symbol = -1);
  void TypeUserEvents(int answer, bool userKeyPress);
  void ReceiveNibble(int nibble);
  bool WriteComplete() const;
  bool TakeFault(SimFault fault, std::uint32_t& detail);

  SimKeySink sink_;
  SpeedMapping mapping_;
  ConfigImage image_{};
  std::uint32_t latencyMs_ = 0;
  bool present_ = true;
  int userKey_ = 32;  // VK_SPACE
  std::multimap<int, Fault> faults_;
  std::multimap<int, UserEvents> userEvents_;

  // The driver's side: the settings last made (Windows' defaults at first).
  int driverDelay_ = 1;
  int driverSpeed_ = kSpeeds - 1;

  Mode mode_ = Mode::kIdle;
  std::array<int, std::size(kStartSignal)> recentDelays_;
  int answers_ = 0;
  // Reading: the image byte asked for next, and its second symbol when due.
  int nextByte_ = kTransferStart;
  int secondSymbol_ = -1;
  // Writing
  int probes_ = 0;
  int confirmed_ = 0;
  std::array<int, kSpeeds> nibbleOfValue_{};
  bool lowNibbleDue_ = false;
  int highNibble_ = 0;
  int received_ = 0;
  int incomingByte_ = kTransferStart;
  ConfigImage incoming_{};
  int storedWrites_ = 0;
};

// Link coding at the device's side.
int KeyForSymbol(int symbol);
void SymbolsForByte(std::uint8_t byte, int& first, int& second);
// The key acknowledging a received nibble: Ctrl for even parity, Shift for odd.
int AckKeyFor(int nibble);
