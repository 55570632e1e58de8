#include "link/read_transfer.h"

#include "link/transfer_order.h"
#include "link/transfer_progress.h"
#include "link/typematic_link.h"

namespace {

constexpr int kDelayFirstSymbol = 0;
constexpr int kDelaySecondSymbol = 2;

constexpr char kVerb[] = "Reading";

// Asks for one symbol with a delay signal; kNoSymbol when none came.
int AskSymbol(LinkPlatform& platform, int delay) {
  SetTypematicDelay(platform, delay);
  return SymbolFromKey(WaitKeystroke(platform, kAnswerTimeoutMs));
}

// The exchange after an answered start signal.
int ReadBytes(LinkPlatform& platform, ConfigImage& image) {
  int dataBytes = 0;
  for (int p = 0; p < kImageSize; ++p) {
    const int index = ImageIndexAt(p);
    const int first = AskSymbol(platform, kDelayFirstSymbol);
    if (first == kNoSymbol) return kTransferLinkError;
    image[index] = static_cast<std::uint8_t>((first & 0x0F) * 16);
    const int second = AskSymbol(platform, kDelaySecondSymbol);
    if (second == kNoSymbol) return kTransferLinkError;
    if (!SymbolCheckHolds(first, second)) return kTransferLinkError;
    if (!SymbolCheckHolds(second, first)) return kTransferLinkError;
    image[index] = static_cast<std::uint8_t>(image[index] + (second & 0x0F));

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
    if (p >= kConfigBytes - 1 + dataBytes) return kTransferOk;
  }
  return kTransferLinkError;  // not reached: the counts end the transfer before
}

}  // namespace

int ReadFromEncoder(LinkPlatform& platform, ConfigImage& image) {
  TypematicSettings saved;
  if (!SaveTypematicSettings(platform, saved)) return kTransferLinkError;
  const int result = SendStartSignal(platform) ? ReadBytes(platform, image) : kTransferNotFound;
  RestoreTypematicSettings(platform, saved, false);
  return result;
}
