// The encoder as a device of its own: it codes its answers and walks the image
// in its own way, sharing only the wire constants with the link, so that a
// fault in the link's coding is not copied here.
#include "sim/encoder_sim.h"

#include <algorithm>

namespace {

// 1 when the nibble has an odd number of one-bits.
int OddParity(int nibble) {
  int folded = nibble & kNibbleMask;
  folded ^= folded >> 2;
  folded ^= folded >> 1;
  return folded & 1;
}

int NextImageByte(int index) { return index + 1 == kImageSize ? 0 : index + 1; }

}  // namespace

int KeyForSymbol(int symbol) {
  symbol &= kSymbolCount - 1;
  return symbol < kDigitSymbols ? kFirstDigitKey + symbol
                                : kFirstLetterKey + (symbol - kDigitSymbols);
}

void SymbolsForByte(std::uint8_t byte, int& first, int& second) {
  const int high = byte >> 4;
  const int low = byte & kNibbleMask;
  first = high | (OddParity(low) ? 0 : kCheckBit);
  second = low | (OddParity(high) ? 0 : kCheckBit);
}

int AckKeyFor(int nibble) { return OddParity(nibble) ? kKeyShift : kKeyControl; }

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

void EncoderSim::InjectFault(SimFault fault, int answer, std::uint32_t detail) {
  faults_.insert({answer, {fault, detail}});
}

void EncoderSim::InjectUserEvents(int answer, const std::vector<SimKeyEvent>& events,
                                  std::uint32_t extraMs) {
  userEvents_.insert({answer, {events, extraMs}});
}

void EncoderSim::OnDelaySet(int delay) {
  driverDelay_ = delay & kTypematicDelayMask;
  OnTypematicByte(TypematicByte(driverDelay_, mapping_[driverSpeed_]));
}

void EncoderSim::OnSpeedSet(int speed) {
  driverSpeed_ = speed & (kSpeeds - 1);
  OnTypematicByte(TypematicByte(driverDelay_, mapping_[driverSpeed_]));
}

// The encoder's state tells what a byte means: a read moves the delay field and
// keeps the rate; a write keeps the delay field at the write signal and moves the
// rate. The start and end signals are told by the delay field in every state.
void EncoderSim::OnTypematicByte(std::uint8_t command) {
  const int delay = command >> kTypematicDelayShift & kTypematicDelayMask;
  std::rotate(recentDelays_.begin(), recentDelays_.begin() + 1, recentDelays_.end());
  recentDelays_.back() = delay;
  if (std::equal(recentDelays_.begin(), recentDelays_.end(), std::begin(kStartSignal))) {
    Start();
    return;
  }
  if (mode_ == Mode::kIdle) return;
  if (delay == kDelayEndSignal) {
    End();
    return;
  }
  switch (mode_) {
    case Mode::kStarted:
      if (delay == kDelayWriteSignal) {
        mode_ = Mode::kProbing;
        probes_ = 0;
      } else {
        AnswerRead(delay);
      }
      break;
    case Mode::kReading:
      AnswerRead(delay);
      break;
    default:  // writing
      if (delay == kDelayWriteSignal) OnRate(command & kTypematicRateMask);
      break;
  }
}

void EncoderSim::AnswerRead(int delay) {
  if (delay == kDelayFirstSymbol) {
    mode_ = Mode::kReading;
    int first = 0;
    SymbolsForByte(image_[nextByte_], first, secondSymbol_);
    nextByte_ = NextImageByte(nextByte_);
    Answer(KeyForSymbol(first), first);
  } else if (delay == kDelaySecondSymbol && secondSymbol_ >= 0) {
    const int second = secondSymbol_;
    secondSymbol_ = -1;
    Answer(KeyForSymbol(second), second);
  }
}

void EncoderSim::OnRate(int value) {
  switch (mode_) {
    case Mode::kProbing:
      Answer(KeyForSymbol(value), value);
      if (++probes_ == kSpeeds) {
        mode_ = Mode::kConfirming;
        confirmed_ = 0;
        nibbleOfValue_.fill(-1);
      }
      break;
    case Mode::kConfirming:
      // A value already taken cannot carry a second nibble: refuse it.
      if (nibbleOfValue_[value] >= 0) {
        Answer(kKeyShift);
        break;
      }
      nibbleOfValue_[value] = confirmed_;
      Answer(kKeyControl);
      if (++confirmed_ == kNibbleCount) {
        mode_ = Mode::kReceiving;
        incoming_ = image_;
        received_ = 0;
        incomingByte_ = kTransferStart;
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
  std::uint32_t bit = 0;
  if (TakeFault(SimFault::kMisreadNibble, bit)) nibble ^= 1 << (bit & 3);
  if (TakeFault(SimFault::kMisreadSameParity, bit)) nibble ^= 3 << (bit % 3);
  Answer(AckKeyFor(nibble));
  if (!lowNibbleDue_) {
    highNibble_ = nibble;
    lowNibbleDue_ = true;
    return;
  }
  lowNibbleDue_ = false;
  if (received_ < kImageSize) {
    incoming_[incomingByte_] = static_cast<std::uint8_t>(highNibble_ << 4 | nibble);
    incomingByte_ = NextImageByte(incomingByte_);
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
  nextByte_ = kTransferStart;
  secondSymbol_ = -1;
  Answer(kKeyControl);
}

void EncoderSim::End() {
  if (mode_ == Mode::kReceiving && WriteComplete()) {
    image_ = incoming_;
    ++storedWrites_;
  }
  mode_ = Mode::kIdle;
}

// Takes the fault planted at the answer about to be given, when one is of this kind.
bool EncoderSim::TakeFault(SimFault fault, std::uint32_t& detail) {
  const auto planted = faults_.equal_range(answers_);
  for (auto it = planted.first; it != planted.second; ++it) {
    if (it->second.fault != fault) continue;
    detail = it->second.detail;
    faults_.erase(it);
    return true;
  }
  return false;
}

// The user's keys come from another keyboard: at the usual latency whether the
// encoder answers late, wrongly or not at all.
void EncoderSim::TypeUserEvents(int answer, bool userKeyPress) {
  const auto planted = userEvents_.equal_range(answer);
  for (auto it = planted.first; it != planted.second; ++it) {
    sink_(it->second.events, latencyMs_ + it->second.extraMs, SimKeySource::kOtherKeyboard);
  }
  userEvents_.erase(planted.first, planted.second);
  if (userKeyPress) sink_({{userKey_, true}, {userKey_, false}}, latencyMs_, SimKeySource::kOtherKeyboard);
}

void EncoderSim::Answer(int key, int symbol) {
  const int index = answers_++;
  std::vector<Fault> spoils;
  const auto planted = faults_.equal_range(index);
  for (auto it = planted.first; it != planted.second; ++it) spoils.push_back(it->second);
  faults_.erase(planted.first, planted.second);

  bool userKeyPress = false;
  bool typed = true;
  std::uint32_t latency = latencyMs_;
  bool broken = false;
  int repeats = 1;
  for (const Fault& spoil : spoils) {
    switch (spoil.fault) {
      case SimFault::kGone:
        present_ = false;
        break;
      case SimFault::kNoAnswer:
        typed = false;
        break;
      case SimFault::kLateAnswer:
        latency += spoil.detail > 0 ? spoil.detail : kLateMs;
        break;
      case SimFault::kWrongKey:
      case SimFault::kBadCheckBit:
        if (symbol >= 0) {
          symbol ^= spoil.fault == SimFault::kWrongKey ? 1 : kCheckBit;
          key = KeyForSymbol(symbol);
        } else {
          key = key == kKeyControl ? kKeyShift : kKeyControl;
        }
        break;
      case SimFault::kBrokenKeystroke:
        broken = true;
        break;
      case SimFault::kUserKeyPress:
        userKeyPress = true;
        break;
      case SimFault::kDoubledAnswer:
        repeats = 2;
        break;
      case SimFault::kMisreadNibble:
      case SimFault::kMisreadSameParity:
        break;  // acted when the nibble arrived
    }
  }
  TypeUserEvents(index, userKeyPress);
  if (!present_ || !typed) return;

  std::vector<SimKeyEvent> events;
  if (broken) events.push_back({key, true});
  for (int i = 0; i < repeats; ++i) {
    events.push_back({key, true});
    events.push_back({key, false});
  }
  sink_(events, latency, SimKeySource::kEncoder);
}
