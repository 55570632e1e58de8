#include "cli/platform/evdev_keyboard.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/input.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

constexpr char kInputClass[] = "/sys/class/input";
constexpr char kEventPrefix[] = "event";
constexpr char kDevInput[] = "/dev/input/";
constexpr char kCharDevices[] = "/sys/dev/char/";
// A keyboard of its own: keys, hardware repeat and LEDs (a PS/2 mouse or touchpad
// sits on the same port without the last two).
constexpr unsigned long kKeyboardEvents = 1UL << EV_KEY | 1UL << EV_REP | 1UL << EV_LED;
// Events read off at once: a stream of other events cannot hold the link.
constexpr int kMostEventsAtOnce = 64;
constexpr int kMostEventsDrained = 4096;

// The first word of a small /sys file.
std::string SysWord(const std::string& path) {
  std::ifstream file(path);
  std::string word;
  file >> word;
  return word;
}

unsigned long SysHex(const std::string& path) {
  const std::string word = SysWord(path);
  return word.empty() ? 0 : std::strtoul(word.c_str(), nullptr, 16);
}

// sysDir: an input event node's folder in /sys.
bool IsAtKeyboard(const std::string& sysDir) {
  return SysHex(sysDir + "/device/id/bustype") == BUS_I8042 &&
         (SysHex(sysDir + "/device/capabilities/ev") & kKeyboardEvents) == kKeyboardEvents;
}

// The driver's softrepeat switch of the port the keyboard is on.
bool RepeatsInSoftware(const std::string& sysDir) { return SysWord(sysDir + "/device/device/softrepeat") == "1"; }

// The system's AT keyboard: its node, and its folder in /sys.
bool FindAtKeyboard(std::string& node, std::string& sysDir) {
  DIR* folder = opendir(kInputClass);
  if (folder == nullptr) return false;
  bool found = false;
  while (dirent* entry = readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.rfind(kEventPrefix, 0) != 0) continue;
    const std::string dir = std::string(kInputClass) + "/" + name;
    if (!IsAtKeyboard(dir)) continue;
    node = kDevInput + name;
    sysDir = dir;
    found = true;
    break;
  }
  closedir(folder);
  return found;
}

// The /sys folder of a character device node.
bool SysDirOfNode(const std::string& node, std::string& sysDir) {
  struct stat status {};
  if (stat(node.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) return false;
  sysDir = kCharDevices + std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev));
  return true;
}

}  // namespace

KeyboardOpened EvdevKeyboard::Open(const std::string& node) {
  Close();
  std::string sysDir;
  if (node.empty()) {
    if (!FindAtKeyboard(node_, sysDir)) return KeyboardOpened::kNoPs2Keyboard;
  } else {
    node_ = node;
    if (!SysDirOfNode(node, sysDir) || !IsAtKeyboard(sysDir)) return KeyboardOpened::kNotPs2Keyboard;
  }
  if (RepeatsInSoftware(sysDir)) return KeyboardOpened::kSoftRepeat;
  fd_ = open(node_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) {
    reason_ = std::strerror(errno);
    return errno == EACCES || errno == EPERM ? KeyboardOpened::kNoPermission : KeyboardOpened::kFailed;
  }
  if (ioctl(fd_, EVIOCGRAB, 1) != 0) {
    const int error = errno;
    reason_ = std::strerror(error);
    close(fd_);
    fd_ = -1;
    return error == EBUSY ? KeyboardOpened::kGrabbed : KeyboardOpened::kFailed;
  }
  // What came before the grab is not the encoder's answer.
  input_event event{};
  for (int i = 0; i < kMostEventsDrained && read(fd_, &event, sizeof event) == sizeof event; ++i) {
  }
  return KeyboardOpened::kOk;
}

void EvdevKeyboard::Close() {
  if (fd_ < 0) return;
  ioctl(fd_, EVIOCGRAB, 0);
  close(fd_);
  fd_ = -1;
}

bool EvdevKeyboard::GetRepeat(int& delayMs, int& periodMs) {
  unsigned int repeat[2] = {0, 0};
  if (fd_ < 0 || ioctl(fd_, EVIOCGREP, repeat) != 0) return false;
  delayMs = static_cast<int>(repeat[0]);
  periodMs = static_cast<int>(repeat[1]);
  return true;
}

void EvdevKeyboard::SetRepeat(int delayMs, int periodMs) {
  unsigned int repeat[2] = {static_cast<unsigned int>(delayMs), static_cast<unsigned int>(periodMs)};
  if (fd_ >= 0) ioctl(fd_, EVIOCSREP, repeat);
}

bool EvdevKeyboard::TakeKeyEvent(int& code, int& value) {
  input_event event{};
  for (int i = 0; fd_ >= 0 && i < kMostEventsAtOnce; ++i) {
    if (read(fd_, &event, sizeof event) != sizeof event) return false;
    if (event.type != EV_KEY) continue;
    code = event.code;
    value = event.value;
    return true;
  }
  return false;
}

void EvdevKeyboard::WaitForEvent(int ms) {
  pollfd watched{fd_, POLLIN, 0};
  poll(&watched, 1, ms);
}
