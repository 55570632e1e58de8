// rq57cfg on Linux talks to the encoder on the PS/2 keyboard port through the
// kernel's AT keyboard driver.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cli/commands.h"
#include "cli/platform/evdev_keyboard.h"
#include "cli/platform/linux_link_platform.h"
#include "cli/transfer_commands.h"
#include "cli/transfer_host.h"

namespace {

// The keyboard is the machine's, so the record is too: in the folder every
// user may write in.
constexpr char kRecordPath[] = "/run/lock/rq57cfg.settings";

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
  // The keyboard's grab, taken in Prepare, is the lock: one program at a time
  // holds it, the kernel lets it go however the holder ends, and only a user
  // who may use the keyboard can take it. A lock file in the shared lock folder
  // could be made unreadable by any user and would then block every transfer.
  bool Lock() override { return keyboard_.IsOpen(); }
  void Unlock() override {}
  // Anyone may make names in the lock folder: a name taken by something else
  // than a file of this user's or root's (a link, or settings another user
  // planted) means no record, rather than trusting or writing through it.
  std::string SettingsRecordPath() override {
    struct stat status {};
    if (lstat(kRecordPath, &status) != 0) return errno == ENOENT ? kRecordPath : "";
    const bool trusted = status.st_uid == geteuid() || status.st_uid == 0;
    return S_ISREG(status.st_mode) && trusted ? kRecordPath : "";
  }
  // The keyboard is grabbed from Prepare on.
  bool StartListening() override { return keyboard_.IsOpen(); }
  void StopListening() override { keyboard_.Close(); }
  LinkPlatform& Link() override { return link_; }
  void FlushProgress() override { link_.FlushProgress(); }

 private:
  EvdevKeyboard keyboard_;
  LinuxLinkPlatform link_;
};

}  // namespace

TransferHost* ConsoleTransferHost() {
  static LinuxHost host;
  CatchStopSignals();
  return &host;
}
