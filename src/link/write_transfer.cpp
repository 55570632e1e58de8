#include "link/write_transfer.h"

#include "link/transfer_order.h"
#include "link/transfer_progress.h"
#include "link/typematic_link.h"

namespace {

constexpr char kVerb[] = "Writing";

// Every request first makes sure that no key is waiting: acknowledgements
// that lag behind (a stray was taken for one) mean the encoder may hold a
// nibble it misread, and probes or confirmations would be shifted.
bool Probe(LinkPlatform& platform, ProbeAnswers& answers) {
  std::uint32_t askedAt = 0;
  for (int s = 0; s < kSpeedCount; ++s) {
    answers[s] = Ask(platform, LinkSetting::kSpeed, s, kAnswerTimeoutMs, askedAt);
    if (answers[s] == kNoKey) return false;
  }
  return true;
}

bool Confirm(LinkPlatform& platform, const NibbleSpeeds& speeds) {
  std::uint32_t askedAt = 0;
  for (int speed : speeds) {
    if (Ask(platform, LinkSetting::kSpeed, speed, kConfirmTimeoutMs, askedAt) != kKeyControl) {
      return false;
    }
  }
  return true;
}

bool SendNibble(LinkPlatform& platform, const NibbleSpeeds& speeds, int nibble,
                std::uint32_t& askedAt) {
  return Ask(platform, LinkSetting::kSpeed, speeds[nibble], kAnswerTimeoutMs, askedAt) ==
         AckKeyForNibble(nibble);
}

int SendBytes(LinkPlatform& platform, const NibbleSpeeds& speeds, const ConfigImage& image) {
  const int dataBytes = image[kImageRows] * image[kImageColumns] * 2;
  std::uint32_t askedAt = 0;
  for (int p = 0; p < kImageSize; ++p) {
    const int byte = image[ImageIndexAt(p)];
    if (!SendNibble(platform, speeds, byte / 16, askedAt)) return kTransferLinkError;
    if (!SendNibble(platform, speeds, byte % 16, askedAt)) return kTransferLinkError;
    if (p < kConfigBytes) {
      ShowConfigProgress(platform, kVerb, p);
      continue;
    }
    const int percent = DataProgress(p, dataBytes);
    if (percent != DataProgress(p - 1, dataBytes)) ShowDataProgress(platform, kVerb, percent);
    if (p >= kConfigBytes - 1 + dataBytes) {
      // Before the end signal, at which the encoder stores what it received: a
      // stray taken for the last acknowledgement leaves the encoder's own (for
      // a nibble it may have misread) still to come.
      return WaitOutAnswerTime(platform, askedAt) ? kTransferOk : kTransferLinkError;
    }
  }
  return kTransferLinkError;  // not reached for a valid image
}

// The exchange after an answered start signal.
int WriteAfterStart(LinkPlatform& platform, const ConfigImage& image) {
  SetTypematicDelay(platform, kDelayWriteSignal);
  platform.Pause(kSignalPauseMs);
  ProbeAnswers answers{};
  if (!Probe(platform, answers)) return kTransferLinkError;
  NibbleSpeeds speeds{};
  if (!ChooseNibbleSpeeds(answers, speeds)) return kTransferTooFewSpeeds;
  if (!Confirm(platform, speeds)) return kTransferLinkError;
  return SendBytes(platform, speeds, image);
}

}  // namespace

bool ChooseNibbleSpeeds(const ProbeAnswers& answers, NibbleSpeeds& speeds) {
  int chosen = 0;
  for (int s = 0; s < kSpeedCount && chosen < kNibbleCount; ++s) {
    bool fresh = true;
    for (int v = 0; v < chosen; ++v) {
      if (answers[speeds[v]] == answers[s]) fresh = false;
    }
    if (fresh) speeds[chosen++] = s;
  }
  return chosen == kNibbleCount;
}

int WriteToEncoder(LinkPlatform& platform, const ConfigImage& image) {
  // The data length divides the progress; an image that EncodeImage did not
  // vouch for never reaches the encoder.
  if (!ImageHeaderValid(image)) return kTransferBadImage;
  TypematicSettings saved;
  if (!SaveTypematicSettings(platform, saved)) return kTransferLinkError;
  const int result =
      SendStartSignal(platform) ? WriteAfterStart(platform, image) : kTransferNotFound;
  RestoreTypematicSettings(platform, saved, true);
  return result != kTransferOk && platform.StopRequested() ? kTransferStopped : result;
}
