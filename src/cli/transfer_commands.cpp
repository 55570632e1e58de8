#include "cli/transfer_commands.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "cli/commands.h"
#include "cli/transfer_host.h"
#include "io/file_read.h"
#include "io/file_write.h"
#include "link/read_transfer.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "model/config_file.h"
#include "model/editor_messages.h"
#include "model/untrusted_text.h"

#if !defined(_WIN32) && !defined(__linux__)
// The encoder is reached through the keyboard's settings: Windows and Linux only.
TransferHost* ConsoleTransferHost() { return nullptr; }
#endif

namespace {

constexpr int kTextSize = 128;
constexpr char kInitialProgress[] = "Initializing...";

// One line; a file name in it is quoted (see QuoteUntrusted).
void Say(std::FILE* stream, const std::string& text) {
  std::fputs((QuoteUntrusted(text) + "\n").c_str(), stream);
  std::fflush(stream);
}

std::string Format(const char* format, int value) {
  char text[kTextSize] = "";
  std::snprintf(text, sizeof text, format, value);
  return text;
}

int ExitCodeOf(int result) {
  switch (result) {
    case kTransferOk: return kExitOk;
    case kTransferNotFound: return kExitNotFound;
    case kTransferInvalidConfig: return kExitInvalid;
    case kTransferStopped: return kExitStopped;
    default: return kExitLinkError;
  }
}

// Says the result (prefixed with what it ended) and returns its exit code.
int Report(int result, TransferKind kind, const std::string& prefix = "") {
  Say(result == kTransferOk ? stdout : stderr, prefix + TransferResultText(kind, result));
  return ExitCodeOf(result);
}

// The transfer session and the keyboard hook, held for one command and given up
// on every way out.
class Session {
 public:
  explicit Session(TransferHost& host) : host_(host), session_(host) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;
  ~Session() {
    if (listening_) host_.StopListening();
  }

  // kExitOk when a transfer may start.
  int Open() {
    if (const char* simulated = host_.SimulatedName()) Say(stderr, std::string("rq57cfg: ") + simulated);
    if (!session_.Open()) {
      Say(stderr, "rq57cfg: another transfer with the RQ57 is running");
      return kExitLinkError;
    }
    LinkPlatform& link = host_.Link();
    if (session_.Recovered()) Say(stderr, std::string("rq57cfg: ") + kRecoveredMessage);
    if (!host_.StartListening()) {
      Say(stderr, "rq57cfg: cannot take the keyboard's input");
      return kExitLinkError;
    }
    listening_ = true;
    if (link.StopRequested()) return Report(kTransferStopped, TransferKind::kRead);
    link.ShowProgress(kInitialProgress);
    return kExitOk;
  }

 private:
  TransferHost& host_;
  TransferSession session_;
  bool listening_ = false;
};

// The host, ready for a session on the keyboard the encoder is on; nullptr
// after saying why not, with the exit code in code.
TransferHost* PreparedHost(const std::string& device, int& code) {
  TransferHost* host = ConsoleTransferHost();
  if (host == nullptr) {
    Say(stderr, "rq57cfg: read and write need Windows or Linux: the RQ57 is reached through the keyboard");
    code = kExitError;
    return nullptr;
  }
  std::string why;
  code = host->Prepare(device, why);
  if (code == kExitOk) return host;
  Say(stderr, "rq57cfg: " + why);
  return nullptr;
}

// Loads the file as Open does and builds the image as Write does, saying what
// either refuses.
bool LoadImageToWrite(const std::string& file, ConfigImage& image) {
  InputFile input;
  if (!ReadRegularFile(file, kImageSize, input)) {
    Say(stderr, file + ": " + kOpenErrorMessage + ": " + input.reason);
    return false;
  }
  int sharedPin = -1;
  switch (ImageToWrite(input.content, image, sharedPin)) {
    case ImageFault::kNone: return true;
    case ImageFault::kInvalid: Say(stderr, file + ": " + kInvalidFileMessage); return false;
    case ImageFault::kSharedPin: Say(stderr, file + ": " + SharedPinMessage(sharedPin)); return false;
  }
  return false;
}

int DataBytes(const ConfigImage& image) { return image[kImageRows] * image[kImageColumns] * 2; }

// Says every byte that both transfers carried and that differs; the count of them.
int ReportDifferences(const ConfigImage& written, const ConfigImage& read) {
  std::vector<int> indexes;
  for (int i = kTransferStart; i < kImageSize; ++i) indexes.push_back(i);
  for (int i = 0; i < std::min(DataBytes(written), DataBytes(read)); ++i) indexes.push_back(i);
  int differences = 0;
  for (int i : indexes) {
    if (written[i] == read[i]) continue;
    char text[kTextSize] = "";
    std::snprintf(text, sizeof text, "byte %d: written 0x%02X, read 0x%02X", i, written[i], read[i]);
    Say(stderr, text);
    ++differences;
  }
  return differences;
}

int Verify(TransferHost& host, const ConfigImage& written, int writeResult) {
  LinkPlatform& link = host.Link();
  Say(stderr, writeResult == kTransferOk ? kWrittenMessage
                                         : std::string(kWriteErrorMessage) + "; reading it back all the same");
  if (link.StopRequested()) return Report(kTransferStopped, TransferKind::kRead);
  link.ShowProgress(kInitialProgress);
  ConfigImage read{};
  const int result = ReadFromEncoder(link, read);
  host.FlushProgress();
  if (result != kTransferOk) return Report(result, TransferKind::kRead, "Reading back: ");
  const int differences = ReportDifferences(written, read);
  if (differences > 0) {
    Say(stderr, Format("Verification failed: %d bytes differ", differences));
    return kExitDifferent;
  }
  Say(stdout, writeResult == kTransferOk
                  ? "verified"
                  : "verified: the RQ57 holds the file although the write ended in a link error");
  return kExitOk;
}

}  // namespace

int ReadEncoderCommand(const std::string& output, const std::string& device) {
  // Standard output carries the result line, so the image needs a file of its own.
  if (output.empty() || output == kStandardOutputName) {
    Say(stderr, "output: cannot write: read needs a file name");
    return kExitError;
  }
  // Refused before the transfer, which would otherwise run with the keyboard's
  // settings changed only for its result to be thrown away.
  std::string reason;
  if (!CheckWritableTarget(output, reason)) {
    Say(stderr, output + ": " + kSaveErrorMessage + ": " + reason);
    return kExitError;
  }
  int code = kExitError;
  TransferHost* host = PreparedHost(device, code);
  if (host == nullptr) return code;
  ConfigImage read{};
  int result = kTransferLinkError;
  {
    Session session(*host);
    const int opened = session.Open();
    if (opened != kExitOk) return opened;
    result = ReadFromEncoder(host->Link(), read);
    host->FlushProgress();
  }
  if (result != kTransferOk) return Report(result, TransferKind::kRead);
  // What Save would write after Read: the image of a new configuration that
  // took the one read.
  std::string bytes;
  int sharedPin = -1;
  switch (FileBytesOfReadImage(read, bytes, sharedPin)) {
    case ImageFault::kNone: break;
    case ImageFault::kInvalid: return Report(kTransferInvalidConfig, TransferKind::kRead);
    case ImageFault::kSharedPin: Say(stderr, SharedPinMessage(sharedPin)); return kExitInvalid;
  }
  if (!WriteFileWhole(output, bytes, reason)) {
    Say(stderr, output + ": " + kSaveErrorMessage + ": " + reason);
    return kExitError;
  }
  Say(stdout, kReadMessage);
  return kExitOk;
}

int WriteEncoderCommand(const std::string& file, bool verify, const std::string& device) {
  ConfigImage image{};
  if (!LoadImageToWrite(file, image)) return kExitError;
  int code = kExitError;
  TransferHost* host = PreparedHost(device, code);
  if (host == nullptr) return code;
  Session session(*host);
  const int opened = session.Open();
  if (opened != kExitOk) return opened;
  const int result = WriteToEncoder(host->Link(), image);
  host->FlushProgress();
  // After a link error the encoder may hold the file all the same.
  if (verify && (result == kTransferOk || result == kTransferLinkError)) return Verify(*host, image, result);
  return Report(result, TransferKind::kWrite);
}
