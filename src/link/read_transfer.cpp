#include "link/read_transfer.h"

#include "link/transfer_order.h"
#include "link/transfer_progress.h"
#include "link/typematic_link.h"

namespace {

constexpr char kVerb[] = "Reading";

// Asks for one symbol with a delay signal; kNoSymbol when none came, or when a
// key was waiting before the request.
int AskSymbol(LinkPlatform& platform, int delay, std::uint32_t& askedAt) {
  return SymbolFromKey(Ask(platform, LinkSetting::kDelay, delay, kAnswerTimeoutMs, askedAt));
}

// The exchange after an answered start signal.
int ReadBytes(LinkPlatform& platform, ConfigImage& image) {
  int dataBytes = 0;
  std::uint32_t askedAt = 0;
  for (int p = 0; p < kImageSize; ++p) {
    const int index = ImageIndexAt(p);
    const int first = AskSymbol(platform, kDelayFirstSymbol, askedAt);
    if (first == kNoSymbol) return kTransferLinkError;
    const int second = AskSymbol(platform, kDelaySecondSymbol, askedAt);
    if (!ByteFromSymbols(first, second, image[index])) return kTransferLinkError;

    if (p < kConfigBytes) {
      ShowConfigProgress(platform, kVerb, p);
      if (p == kRowsPosition) {
        if (!CountInRange(image[kImageRows])) return kTransferInvalidConfig;
      } else if (p == kColumnsPosition) {
        if (!ImageHeaderValid(image)) return kTransferInvalidConfig;
        dataBytes = image[kImageRows] * image[kImageColumns] * 2;
      }
      continue;
    }
    const int percent = DataProgress(p, dataBytes);
    if (percent != DataProgress(p - 1, dataBytes)) ShowDataProgress(platform, kVerb, percent);
    if (p >= kConfigBytes - 1 + dataBytes) {
      // A stray taken for the last answer leaves the encoder's own still to come.
      return WaitOutAnswerTime(platform, askedAt) ? kTransferOk : kTransferLinkError;
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
