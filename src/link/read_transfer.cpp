#include "link/read_transfer.h"

#include "link/transfer_order.h"
#include "link/transfer_progress.h"
#include "link/typematic_link.h"

namespace {

// A stray keystroke taken as an answer leaves the encoder's answer to the last
// request unread, and the encoder types it within its usual latency. So a read
// ends only after the line has stayed quiet for twice the longest latency seen,
// at least kQuietFloorMs and never longer than an answer may take.
constexpr std::uint32_t kQuietFloorMs = 20;
constexpr std::uint32_t kQuietLatencyFactor = 2;
constexpr std::uint32_t kQuietLimitMs = kAnswerTimeoutMs;

constexpr char kVerb[] = "Reading";

int QuietWindowMs(std::uint32_t longestLatencyMs) {
  std::uint32_t window = longestLatencyMs * kQuietLatencyFactor;
  if (window < kQuietFloorMs) window = kQuietFloorMs;
  if (window > kQuietLimitMs) window = kQuietLimitMs;
  return static_cast<int>(window);
}

// Asks for one symbol with a delay signal; kNoSymbol when none came, or when a
// key was waiting before the request. Keeps the longest time an answer took.
int AskSymbol(LinkPlatform& platform, int delay, std::uint32_t& longestLatencyMs) {
  if (!NoKeyWaiting(platform)) return kNoSymbol;
  const std::uint32_t asked = platform.Now();
  SetTypematicDelay(platform, delay);
  const int key = WaitKeystroke(platform, kAnswerTimeoutMs);
  const std::uint32_t latency = platform.Now() - asked;  // wraps with the clock
  if (latency > longestLatencyMs) longestLatencyMs = latency;
  return SymbolFromKey(key);
}

// The exchange after an answered start signal.
int ReadBytes(LinkPlatform& platform, ConfigImage& image) {
  int dataBytes = 0;
  std::uint32_t longestLatencyMs = 0;
  for (int p = 0; p < kImageSize; ++p) {
    const int index = ImageIndexAt(p);
    const int first = AskSymbol(platform, kDelayFirstSymbol, longestLatencyMs);
    if (first == kNoSymbol) return kTransferLinkError;
    image[index] = static_cast<std::uint8_t>((first & kNibbleMask) * 16);
    const int second = AskSymbol(platform, kDelaySecondSymbol, longestLatencyMs);
    if (second == kNoSymbol) return kTransferLinkError;
    if (!SymbolCheckHolds(first, second)) return kTransferLinkError;
    if (!SymbolCheckHolds(second, first)) return kTransferLinkError;
    image[index] = static_cast<std::uint8_t>(image[index] + (second & kNibbleMask));

    if (p < kConfigBytes) {
      ShowConfigProgress(platform, kVerb, p);
      if (p == kRowsPosition) {
        const int rows = image[kImageRows];
        if (rows < 1 || rows > kMaxLines) return kTransferInvalid;
      } else if (p == kColumnsPosition) {
        if (!ImageHeaderValid(image)) return kTransferInvalid;
        dataBytes = image[kImageRows] * image[kImageColumns] * 2;
      }
      continue;
    }
    const int percent = DataProgress(p, dataBytes);
    if (percent != DataProgress(p - 1, dataBytes)) ShowDataProgress(platform, kVerb, percent);
    if (p >= kConfigBytes - 1 + dataBytes) {
      return WaitQuiet(platform, QuietWindowMs(longestLatencyMs)) ? kTransferOk
                                                                  : kTransferLinkError;
    }
  }
  return kTransferLinkError;  // not reached: the counts end the transfer before
}

}  // namespace

int ReadFromEncoder(LinkPlatform& platform, ConfigImage& image) {
  TypematicSettings saved;
  if (!SaveTypematicSettings(platform, saved)) return kTransferLinkError;
  const int result = SendStartSignal(platform) ? ReadBytes(platform, image) : kTransferNotFound;
  RestoreTypematicSettings(platform, saved, false);
  return result != kTransferOk && platform.StopRequested() ? kTransferStopped : result;
}
