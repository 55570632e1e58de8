#include "sim/encoder_sim.h"

#include <algorithm>

#include "link/transfer_order.h"
#include "link/typematic_link.h"

namespace {

constexpr std::array<int, 6> kStartSignal = {1, 0, 2, 0, 0, 0};
constexpr int kDelayFirstSymbol = 0;
constexpr int kDelayWrite = 1;
constexpr int kDelaySecondSymbol = 2;
constexpr int kNibbles = 16;
constexpr int kCheckBit = 0x10;

int EvenCheck(int nibble) {
  int bits = 0;
  for (int v = nibble & 0x0F; v != 0; v &= v - 1) ++bits;
  return bits % 2 == 0 ? 1 : 0;
}

int WrongKeyFor(int key) {
  if (key == kKeyControl) return kKeyShift;
  if (key == kKeyShift) return kKeyControl;
  const int symbol = SymbolFromKey(key);
  return symbol == kNoSymbol ? kKeyControl : KeyForSymbol(symbol ^ 1);
}

}  // namespace

int KeyForSymbol(int symbol) {
  symbol &= 0x1F;
  return symbol < 10 ? '0' + symbol : 'A' + symbol - 10;
}

void SymbolsForByte(std::uint8_t byte, int& first, int& second) {
  const int high = byte / 16;
  const int low = byte % 16;
  first = high + 16 * EvenCheck(low);
  second = low + 16 * EvenCheck(high);
}

EncoderSim::SpeedMapping EncoderSim::DefaultSpeedMapping() {
  SpeedMapping mapping{};
  for (int s = 0; s < kSpeeds; ++s) mapping[s] = s * 2 / 3;
  return mapping;
}

EncoderSim::EncoderSim(SimKeySink sink) : sink_(std::move(sink)), mapping_(DefaultSpeedMapping()) {
  recentDelays_.fill(-1);
}

void EncoderSim::SetSpeedMapping(const SpeedMapping& mapping) {
  for (int s = 0; s < kSpeeds; ++s) mapping_[s] = mapping[s] & (kSpeeds - 1);
}

void EncoderSim::InjectFault(SimFault fault, int answer) { faults_[answer] = fault; }

void EncoderSim::OnDelaySet(int delay) {
  std::rotate(recentDelays_.begin(), recentDelays_.begin() + 1, recentDelays_.end());
  recentDelays_.back() = delay;
  if (recentDelays_ == kStartSignal) {
    Start();
    return;
  }
  if (mode_ == Mode::kIdle) return;
  if (delay == kDelayEndSignal) {
    End();
    return;
  }
  if (mode_ != Mode::kStarted && mode_ != Mode::kReading) return;

  int first = 0;
  int second = 0;
  SymbolsForByte(image_[ImageIndexAt(position_)], first, second);
  if (delay == kDelayFirstSymbol) {
    mode_ = Mode::kReading;
    secondDue_ = true;
    Answer(KeyForSymbol(first), true);
  } else if (delay == kDelaySecondSymbol && secondDue_) {
    secondDue_ = false;
    position_ = (position_ + 1) % kImageSize;
    Answer(KeyForSymbol(second), true);
  } else if (delay == kDelayWrite && mode_ == Mode::kStarted) {
    mode_ = Mode::kProbing;
    probes_ = 0;
  }
}

void EncoderSim::OnSpeedSet(int speed) {
  const int value = mapping_[speed & (kSpeeds - 1)];
  switch (mode_) {
    case Mode::kProbing:
      Answer(KeyForSymbol(value), false);
      if (++probes_ == kSpeeds) {
        mode_ = Mode::kConfirming;
        confirmed_ = 0;
        nibbleOfValue_.fill(-1);
      }
      break;
    case Mode::kConfirming:
      // A value already taken cannot carry a second nibble: refuse it.
      if (nibbleOfValue_[value] >= 0) {
        Answer(kKeyShift, false);
        break;
      }
      nibbleOfValue_[value] = confirmed_;
      Answer(kKeyControl, false);
      if (++confirmed_ == kNibbles) {
        mode_ = Mode::kReceiving;
        incoming_ = image_;
        received_ = 0;
        lowNibbleDue_ = false;
      }
      break;
    case Mode::kReceiving:
      if (nibbleOfValue_[value] >= 0) ReceiveNibble(nibbleOfValue_[value]);
      break;  // a speed it cannot read gets no answer
    default:
      break;
  }
}

void EncoderSim::ReceiveNibble(int nibble) {
  Answer(AckKeyForNibble(nibble), false);
  if (!lowNibbleDue_) {
    highNibble_ = nibble;
    lowNibbleDue_ = true;
    return;
  }
  lowNibbleDue_ = false;
  if (received_ < kImageSize) {
    incoming_[ImageIndexAt(received_)] = static_cast<std::uint8_t>(highNibble_ * 16 + nibble);
    ++received_;
  }
}

bool EncoderSim::WriteComplete() const {
  if (received_ < kConfigBytes || !ImageHeaderValid(incoming_)) return false;
  return received_ >= kConfigBytes + incoming_[kImageRows] * incoming_[kImageColumns] * 2;
}

void EncoderSim::Start() {
  mode_ = Mode::kStarted;
  answers_ = 0;
  position_ = 0;
  secondDue_ = false;
  Answer(kKeyControl, false);
}

void EncoderSim::End() {
  if (mode_ == Mode::kReceiving && WriteComplete()) {
    image_ = incoming_;
    ++storedWrites_;
  }
  mode_ = Mode::kIdle;
}

void EncoderSim::Answer(int key, bool symbol) {
  const int index = answers_++;
  if (!present_) return;
  std::uint32_t latency = latencyMs_;
  std::vector<SimKeyEvent> events;
  const auto found = faults_.find(index);
  const bool spoiled = found != faults_.end();
  const SimFault fault = spoiled ? found->second : SimFault::kNoAnswer;
  if (spoiled) faults_.erase(found);

  if (spoiled) {
    switch (fault) {
      case SimFault::kNoAnswer:
        return;
      case SimFault::kLateAnswer:
        latency += kLateMs;
        break;
      case SimFault::kWrongKey:
        key = WrongKeyFor(key);
        break;
      case SimFault::kBadCheckBit:
        key = symbol ? KeyForSymbol(SymbolFromKey(key) ^ kCheckBit) : WrongKeyFor(key);
        break;
      case SimFault::kBrokenKeystroke:
        events.push_back({key, true});
        break;
      case SimFault::kUserKeyPress:
        events.push_back({userKey_, true});
        events.push_back({userKey_, false});
        break;
    }
  }
  events.push_back({key, true});
  events.push_back({key, false});
  sink_(events, latency);
}
