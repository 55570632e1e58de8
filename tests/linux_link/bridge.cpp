// Host side of the Linux link rig. Boots the kernel in QEMU and stands in for the
// RQ57 on the guest's PS/2 keyboard port: the device model hears every typematic
// command byte the keyboard receives (QEMU's ps2_write_keyboard trace) and types
// its answers through QMP, one key per command. The guest's script runs rq57cfg
// case by case and prints "RIG ..." lines on the serial console; the bridge
// checks each case, times the SIGINT and the kill by counting settings, and
// checks on the trace that the keyboard's settings came back.
//
//   linux_link_bridge --files DIR        writes the configurations the guest uses
//   linux_link_bridge KERNEL INITRD DIR  boots and runs every case
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "link/transfer_fixtures.h"
#include "sim/encoder_sim.h"
#include "sim/sample_image.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kRigLimit = std::chrono::seconds(170);  // the whole run, boot included
constexpr int kPollMs = 100;
constexpr int kQmpConnectTries = 100;                  // 10 s in 100 ms steps
constexpr int kSettingsBeforeSignal = 60;              // about the middle of a 4x4 read
constexpr int kMisreadAnswer = 100;                    // a nibble of the configuration bytes
constexpr int kKilledExit = 128 + SIGKILL;
constexpr int kStoppedExit = 130;
constexpr int kDifferentExit = 13;
constexpr int kExitError = 2;
constexpr int kExitGrabbed = 11;
constexpr unsigned kRandomSeed = 28;
constexpr int kBigSize = 12;
constexpr int kSmallSize = 4;

void WriteImage(const std::string& path, const ConfigImage& image) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
}

// What rq57cfg read -o writes for the image the device holds.
ConfigImage SavedAfterRead(const ConfigImage& held) {
  ConfigModel model;
  ResetModel(model);
  ConfigImage saved{};
  if (DecodeImage(held, model)) EncodeImage(model, saved, nullptr);
  return saved;
}

std::string Hex(const ConfigImage& image) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : image) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}

std::string QcodeOf(int key) {
  if (key == kKeyControl) return "ctrl";
  if (key == kKeyShift) return "shift";
  if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
  if (key >= 'A' && key <= 'Z') return std::string(1, static_cast<char>(key - 'A' + 'a'));
  return "spc";
}

struct Case {
  std::string name;
  int settings = 0;
  int byteBefore = -1;
  Clock::time_point start;
};

class Bridge {
 public:
  Bridge() : device_([this](const std::vector<SimKeyEvent>& events, std::uint32_t, SimKeySource) { Type(events); }) {
    device_.SetImage(SampleConfigImage());
  }

  int Run(const std::string& kernel, const std::string& initrd, const std::string& dir) {
    const std::string socketPath = dir + "/qmp.sock";
    unlink(socketPath.c_str());
    if (!Start(kernel, initrd, socketPath) || !ConnectQmp(socketPath)) return Finish(false);
    const Clock::time_point deadline = Clock::now() + kRigLimit;
    std::string out, err;
    while (!done_ && Clock::now() < deadline) {
      pollfd fds[3] = {{serialOut_, POLLIN, 0}, {trace_, POLLIN, 0}, {qmp_, POLLIN, 0}};
      if (poll(fds, 3, kPollMs) < 0) continue;
      if (!Pump(fds[1], trace_, err, &Bridge::OnTraceLine) || !Pump(fds[0], serialOut_, out, &Bridge::OnSerialLine)) {
        Fail("QEMU ended before the guest was done");
        break;
      }
      if (fds[2].revents & POLLIN) {
        char discard[4096];
        if (read(qmp_, discard, sizeof discard) <= 0) break;
      }
    }
    if (!done_) Fail("not done within the rig's time limit");
    return Finish(failures_ == 0);
  }

 private:
  using LineHandler = void (Bridge::*)(const std::string& line);

  bool Start(const std::string& kernel, const std::string& initrd, const std::string& socketPath) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return false;
    const std::vector<std::string> args = {
        "qemu-system-x86_64", "-machine", "pc", "-accel", "tcg", "-m", "256", "-nodefaults", "-no-user-config",
        "-display", "none", "-no-reboot", "-kernel", kernel, "-initrd", initrd,
        "-append", "console=ttyS0 quiet loglevel=3 panic=-1 rdinit=/init", "-serial", "stdio",
        "-qmp", "unix:" + socketPath + ",server=on,wait=off", "-trace", "ps2_write_keyboard"};
    qemu_ = fork();
    if (qemu_ == 0) {
      dup2(in[0], 0);
      dup2(out[1], 1);
      dup2(err[1], 2);
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    serialIn_ = in[1];
    serialOut_ = out[0];
    trace_ = err[0];
    return qemu_ > 0;
  }

  bool ConnectQmp(const std::string& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    for (int i = 0; i < kQmpConnectTries; ++i) {
      qmp_ = socket(AF_UNIX, SOCK_STREAM, 0);
      if (connect(qmp_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        SendQmp({{"execute", "qmp_capabilities"}});
        return true;
      }
      close(qmp_);
      qmp_ = -1;
      usleep(kPollMs * 1000);
    }
    std::fprintf(stderr, "linux link: no QMP connection\n");
    return false;
  }

  void SendQmp(const nlohmann::json& command) {
    const std::string text = command.dump() + "\n";
    if (write(qmp_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) Fail("QMP write failed");
  }

  // One key per command: QEMU's queue drops what does not fit.
  void Type(const std::vector<SimKeyEvent>& events) {
    nlohmann::json keys = nlohmann::json::array();
    for (const SimKeyEvent& e : events) {
      keys.push_back({{"type", "key"},
                      {"data", {{"down", e.down}, {"key", {{"type", "qcode"}, {"data", QcodeOf(e.key)}}}}}});
      if (e.down) continue;
      SendQmp({{"execute", "input-send-event"}, {"arguments", {{"events", keys}}}});
      keys = nlohmann::json::array();
    }
  }

  // Reads what is there and hands on every whole line; false at the end of the stream.
  bool Pump(const pollfd& fd, int stream, std::string& buffer, LineHandler handler) {
    if (!(fd.revents & (POLLIN | POLLHUP))) return true;
    char chunk[4096];
    const ssize_t got = read(stream, chunk, sizeof chunk);
    if (got <= 0) return done_;
    buffer.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = buffer.find('\n')) != std::string::npos;) {
      std::string line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      (this->*handler)(line);
    }
    return true;
  }

  // "ps2_write_keyboard ... val 243": a byte the keyboard received.
  void OnTraceLine(const std::string& line) {
    const std::size_t at = line.find("ps2_write_keyboard");
    const std::size_t val = at == std::string::npos ? at : line.find("val", at);
    if (val == std::string::npos) return;
    const int byte = static_cast<int>(std::strtol(line.c_str() + val + 3, nullptr, 0));
    if (!parameterDue_) {
      parameterDue_ = byte == kTypematicCommand;
      return;
    }
    parameterDue_ = false;
    byteBeforeLast_ = lastByte_;
    lastByte_ = byte;
    if (!ready_) return;  // the kernel's own settings at boot
    const auto now = Clock::now();
    if (settings_ > 0) gapsMs_.push_back(std::chrono::duration<double, std::milli>(now - lastSettingAt_).count());
    lastSettingAt_ = now;
    ++settings_;
    ++current_.settings;
    device_.OnTypematicByte(static_cast<std::uint8_t>(byte));
    if (signalArmed_ && current_.settings == kSettingsBeforeSignal) {
      signalArmed_ = false;
      if (write(serialIn_, "go\n", 3) != 3) Fail("cannot reach the guest's console");
    }
  }

  void OnSerialLine(const std::string& line) {
    if (line.rfind("RIG ", 0) != 0) {
      if (!line.empty()) std::printf("  guest: %s\n", line.c_str());
      return;
    }
    std::istringstream words(line.substr(4));
    std::string what, name;
    words >> what >> name;
    std::string rest;
    std::getline(words, rest);
    if (what == "READY") {
      ready_ = true;
      std::printf("linux link: the guest is up after %.1f s\n",
                  std::chrono::duration<double>(Clock::now() - started_).count());
    } else if (what == "CASE") {
      BeginCase(name);
    } else if (what == "RESULT") {
      EndCase(name, std::atoi(rest.c_str()), rest);
    } else if (what == "FILE") {
      const std::string expected = Hex(SavedAfterRead(device_.Image()));
      Check(rest.find(expected) != std::string::npos, name + ": the file read equals what the model holds");
    } else if (what == "DONE") {
      CheckSettingsBack();
      done_ = true;
    }
  }

  void BeginCase(const std::string& name) {
    CheckSettingsBack();
    const int before = current_.name == "kill" ? current_.byteBefore : lastByte_;
    current_ = {name, 0, before, Clock::now()};
    signalArmed_ = name == "sigint" || name == "kill" || name == "sigterm" || name == "grab-holder";
    if (name == "misread") device_.InjectFault(SimFault::kMisreadSameParity, kMisreadAnswer, 0);
    gapsMs_.clear();
  }

  // The case ended with the end signal and then the keyboard's settings from
  // before it: checked when the next case begins, by when the driver's last
  // (deferred) command has gone out.
  void CheckSettingsBack() {
    if (current_.name.empty() || current_.name == "kill" || current_.name == "no-permission") return;
    const bool endSignal = (byteBeforeLast_ >> kTypematicDelayShift & kTypematicDelayMask) == kDelayEndSignal;
    char text[160];
    std::snprintf(text, sizeof text, "%s: the end signal (0x%02x), then the settings from before (0x%02x, before 0x%02x)",
                  current_.name.c_str(), byteBeforeLast_, lastByte_, current_.byteBefore);
    Check(endSignal && lastByte_ == current_.byteBefore, text);
  }

  void EndCase(const std::string& name, int code, const std::string& output) {
    const double seconds = std::chrono::duration<double>(Clock::now() - current_.start).count();
    std::vector<double> gaps = gapsMs_;
    std::sort(gaps.begin(), gaps.end());
    const double medianGap = gaps.empty() ? 0 : gaps[gaps.size() / 2];
    double sumGap = 0;
    for (double g : gaps) sumGap += g;
    std::printf("linux link: %s: exit %d, %d settings, %.1f s, between settings median %.1f ms, mean %.1f ms\n",
                name.c_str(), code, current_.settings, seconds, medianGap, gaps.empty() ? 0 : sumGap / static_cast<double>(gaps.size()));
    // Exit code, and what the output says.
    static const std::map<std::string, std::pair<int, const char*>> expected = {
        {"write-verify", {0, "verified"}},
        {"read", {0, ""}},
        {"misread", {kDifferentExit, ""}},
        {"sigint", {kStoppedExit, ""}},
        {"kill", {kKilledExit, ""}},
        {"after-kill", {0, ""}},
        {"sigterm", {kStoppedExit, ""}},
        {"no-permission", {kExitError, "permission denied"}},
        {"grabbed", {kExitGrabbed, "another program has taken the keyboard"}},
        {"grab-holder", {0, ""}},
        {"big", {0, "verified"}}};
    const auto found = expected.find(name);
    Check(found != expected.end() && code == found->second.first, name + ": exit code as expected");
    if (found != expected.end() && *found->second.second != '\0') {
      Check(output.find(found->second.second) != std::string::npos, name + ": says \"" + found->second.second + "\"");
    }
  }

  void Check(bool ok, const std::string& what) {
    std::printf("linux link: %s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures_;
  }
  void Fail(const std::string& what) { Check(false, what); }

  int Finish(bool ok) {
    if (qemu_ > 0) {
      kill(qemu_, SIGKILL);
      waitpid(qemu_, nullptr, 0);
    }
    std::printf("linux link: %s (%d settings in all)\n", ok ? "all cases passed" : "FAILED", settings_);
    return ok ? 0 : 1;
  }

  EncoderSim device_;
  pid_t qemu_ = -1;
  int serialIn_ = -1, serialOut_ = -1, trace_ = -1, qmp_ = -1;
  bool ready_ = false, done_ = false, parameterDue_ = false, signalArmed_ = false;
  int lastByte_ = -1;
  int byteBeforeLast_ = -1;
  Clock::time_point started_ = Clock::now();
  int settings_ = 0;
  int failures_ = 0;
  Case current_;
  Clock::time_point lastSettingAt_;
  std::vector<double> gapsMs_;
};

}  // namespace

int main(int argc, char** argv) {
  signal(SIGPIPE, SIG_IGN);
  if (argc == 3 && std::string(argv[1]) == "--files") {
    std::mt19937 random(kRandomSeed);
    WriteImage(std::string(argv[2]) + "/other.bin", RandomImage(kSmallSize, kSmallSize, random));
    WriteImage(std::string(argv[2]) + "/sample.bin", SampleConfigImage());
    WriteImage(std::string(argv[2]) + "/big.bin", RandomImage(kBigSize, kBigSize, random));
    return 0;
  }
  if (argc != 4) {
    std::fprintf(stderr, "usage: linux_link_bridge --files DIR | KERNEL INITRD DIR\n");
    return 2;
  }
  Bridge bridge;
  return bridge.Run(argv[1], argv[2], argv[3]);
}
