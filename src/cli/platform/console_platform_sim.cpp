// rq57cfg-sim.exe: rq57cfg with a simulated encoder. The settings the link makes
// reach the desktop, as in rq57cfg, and the device model; the device types its
// answers as real keyboard input from the transfer's thread, which the hook's
// thread takes (and swallows) as it would the encoder's.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sim/encoder_sim.h"
#include "sim/sample_image.h"
#include "cli/platform/console_link_platform.h"
#include "win32/sim_input.h"

namespace {

class SimConsolePlatform : public ConsoleLinkPlatform {
 public:
  // The device answers at once (its latency is 0): no answer is held back.
  SimConsolePlatform()
      : device_([](const std::vector<SimKeyEvent>& events, std::uint32_t, SimKeySource) { SendKeyEvents(events); }) {
    device_.SetImage(SampleConfigImage());
#ifdef RQ57_TEST_SEAMS
    PlantFaultFromEnvironment();
#endif
  }

  void SetKeyboardDelay(int delay) override {
    ConsoleLinkPlatform::SetKeyboardDelay(delay);
    device_.OnDelaySet(delay);
  }
  void SetKeyboardSpeed(int speed) override {
    ConsoleLinkPlatform::SetKeyboardSpeed(speed);
    device_.OnSpeedSet(speed);
  }

 private:
#ifdef RQ57_TEST_SEAMS
  // Test builds: RQ57_SIM_MISREAD=ANSWER,BIT has the device misread the nibble
  // of that answer as another of the same parity.
  void PlantFaultFromEnvironment() {
    const char* fault = std::getenv("RQ57_SIM_MISREAD");
    int answer = 0;
    unsigned bit = 0;
    if (fault != nullptr && std::sscanf(fault, "%d,%u", &answer, &bit) == 2) {
      device_.InjectFault(SimFault::kMisreadSameParity, answer, bit);
    }
  }
#endif

  EncoderSim device_;
};

}  // namespace

TransferHost* ConsoleTransferHost() {
  static SimConsolePlatform link;
  static ConsoleHost host(link, kSimulatedEncoderName);
  return &host;
}
