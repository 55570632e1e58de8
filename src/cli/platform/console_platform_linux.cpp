// rq57cfg on Linux talks to the encoder on the PS/2 keyboard port through the
// kernel's AT keyboard driver.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/commands.h"
#include "cli/platform/evdev_keyboard.h"
#include "cli/platform/linux_link_platform.h"
#include "cli/transfer_commands.h"
#include "cli/transfer_host.h"

namespace {

// The keyboard is the machine's, so the lock and the record are too: in the
// folder every user may lock in.
constexpr char kLockPath[] = "/run/lock/rq57cfg.lock";
constexpr char kRecordPath[] = "/run/lock/rq57cfg.settings";
constexpr mode_t kLockMode = 0644;

class LinuxHost : public TransferHost {
 public:
  LinuxHost() : link_(keyboard_) {}

  int Prepare(const std::string& device, std::string& why) override {
    const KeyboardOpened opened = keyboard_.Open(device);
    const std::string node = keyboard_.Node();
    switch (opened) {
      case KeyboardOpened::kOk:
        return kExitOk;
      case KeyboardOpened::kNoPs2Keyboard:
        why = "no keyboard on a PS/2 port: the RQ57 must be attached to the PS/2 keyboard port (a USB keyboard, "
              "or a USB-to-PS/2 adapter, cannot carry the repeat settings it listens to)";
        return kExitNotFound;
      case KeyboardOpened::kNotPs2Keyboard:
        why = node + ": not a keyboard on the PS/2 port (bus i8042 with keys, repeat and LEDs)";
        return kExitNotFound;
      case KeyboardOpened::kSoftRepeat:
        why = "the AT keyboard driver repeats keys in software (atkbd.softrepeat=1), so no repeat setting reaches "
              "the RQ57: remove atkbd.softrepeat=1 from the kernel's command line and restart";
        return kExitNotFound;
      case KeyboardOpened::kNoPermission:
        why = node + ": permission denied: allow this user the AT keyboard alone with a udev rule (see "
                     "docs/linux.md), or add the user to the input group, which opens every input device";
        return kExitError;
      case KeyboardOpened::kGrabbed:
        why = node + ": another program has taken the keyboard's input";
        return kExitLinkError;
      case KeyboardOpened::kFailed:
        break;
    }
    why = node + ": cannot open: " + keyboard_.Reason();
    return kExitError;
  }
  bool Lock() override {
    lockFd_ = open(kLockPath, O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, kLockMode);
    if (lockFd_ >= 0 && flock(lockFd_, LOCK_EX | LOCK_NB) == 0) return true;
    Unlock();
    return false;
  }
  void Unlock() override {
    if (lockFd_ >= 0) close(lockFd_);
    lockFd_ = -1;
  }
  // Anyone may make names in the lock folder: a name taken by something else
  // than a file (a link, say) means no record, rather than writing through it.
  std::string SettingsRecordPath() override {
    struct stat status {};
    if (lstat(kRecordPath, &status) == 0 ? S_ISREG(status.st_mode) : errno == ENOENT) return kRecordPath;
    return "";
  }
  // The keyboard is grabbed from Prepare on.
  bool StartListening() override { return keyboard_.IsOpen(); }
  void StopListening() override { keyboard_.Close(); }
  LinkPlatform& Link() override { return link_; }
  void FlushProgress() override { link_.FlushProgress(); }

 private:
  EvdevKeyboard keyboard_;
  LinuxLinkPlatform link_;
  int lockFd_ = -1;
};

}  // namespace

TransferHost* ConsoleTransferHost() {
  static LinuxHost host;
  CatchStopSignals();
  return &host;
}
