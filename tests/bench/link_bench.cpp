// Benchmark of complete 12 x 12 transfers against the device model in virtual
// time: the old sleep-only wait on a coarse 15.6 ms timer next to the
// wake-on-message wait, for device latencies of 0 and 8 ms per keystroke, each
// next to the protocol's floor (fixed pauses plus the device's latency).
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "link/read_transfer.h"
#include "link/transfer_order.h"
#include "link/typematic_link.h"
#include "link/write_transfer.h"
#include "sim/virtual_link.h"

namespace {

constexpr std::uint32_t kCoarseTickUs = 15625;  // the default Windows timer
constexpr int kPhases = 16;                      // start points spread over one tick
constexpr int kSide = 12;
constexpr int kBytes = kConfigBytes + kSide * kSide * 2;
// Fixed pauses: the start signal's 750 ms, the end signal's 150 ms and the
// final wait of 500 ms from the last request, which covers the last answer's
// latency; a write adds 150 ms after its write signal.
constexpr double kReadPausesMs = 750 + 150 + 500;
constexpr double kWritePausesMs = 750 + 150 + 150 + 500;
// Answers: the start's Ctrl, then two per byte; a write also 32 probes and 16
// confirmations. All but the last add their latency to the floor.
constexpr int kReadAnswers = 1 + 2 * kBytes;
constexpr int kWriteAnswers = 1 + 32 + 16 + 2 * kBytes;

ConfigImage SampleImage() {
  ConfigModel model;
  ResetModel(model);
  std::mt19937 random(57);
  for (KeyCode& key : model.keys) key = static_cast<KeyCode>(random() % 128);
  ConfigImage image{};
  EncodeImage(model, image, nullptr);  // the defaults are 12 x 12
  return image;
}

double RunOnce(bool write, bool wakeOnMessage, std::uint32_t latencyMs, int phase,
               const ConfigImage& image) {
  VirtualPlatform::Options options;
  options.tickUs = kCoarseTickUs;
  options.wakeOnMessage = wakeOnMessage;
  options.phaseUs = static_cast<std::uint32_t>(phase * kCoarseTickUs / kPhases);
  VirtualLink link(options);
  link.device.SetLatency(latencyMs);
  link.device.SetImage(image);
  ConfigImage read{};
  const int result = write ? WriteToEncoder(link.platform, image) : ReadFromEncoder(link.platform, read);
  if (result != kTransferOk) {
    std::fprintf(stderr, "transfer failed with %d\n", result);
    return -1;
  }
  return static_cast<double>(link.platform.ElapsedUs()) / 1000.0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MedianOverPhases(bool write, bool wake, std::uint32_t latency, const ConfigImage& image) {
  std::vector<double> totals;
  for (int phase = 0; phase < kPhases; ++phase) totals.push_back(RunOnce(write, wake, latency, phase, image));
  return Median(totals);
}

}  // namespace

int main() {
  const ConfigImage image = SampleImage();
  std::printf("12 x 12 transfers against the device model, virtual time, 15.6 ms system timer,\n"
              "median over %d start phases within a timer tick (ms)\n\n", kPhases);
  std::printf("%-6s %8s %10s %22s %22s\n", "", "latency", "floor", "sleep-only wait", "wake-on-message wait");
  bool failed = false;
  for (const bool write : {false, true}) {
    for (const std::uint32_t latency : {0u, 8u}) {
      const double floor = (write ? kWritePausesMs : kReadPausesMs) +
                           (write ? kWriteAnswers - 1 : kReadAnswers - 1) * static_cast<double>(latency);
      const double sleepOnly = MedianOverPhases(write, false, latency, image);
      const double wake = MedianOverPhases(write, true, latency, image);
      failed = failed || sleepOnly < 0 || wake < 0;
      std::printf("%-6s %5u ms %10.1f %12.1f (+%6.1f) %12.1f (+%6.1f)\n", write ? "write" : "read",
                  latency, floor, sleepOnly, sleepOnly - floor, wake, wake - floor);
    }
  }
  return failed ? 1 : 0;
}
