#pragma once
// Places where writing fails for real, for the disk-error tests: a small
// in-memory file system (tmpfs) mounted on a folder, full or read-only, and
// a scope in which root's right to ignore file permissions is set aside so
// that a read-only folder refuses root too. Each needs root with the right
// to mount; Mount() and the scope report whether they could be had, and the
// tests skip where they could not.

#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

namespace ql::test_support {

class TmpfsMount {
 public:
  TmpfsMount() = default;
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;
  ~TmpfsMount() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }

  // Mounts a tmpfs of `kilobytes` on the existing folder `folder`. Returns
  // true iff it is mounted.
  bool Mount(const std::string& folder, int kilobytes) {
    folder_ = folder;
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
    return mounted_;
  }
  // Makes the mounted file system read-only, or writable again. Returns
  // true iff it is.
  bool MakeReadOnly() { return Remount(MS_RDONLY); }
  bool MakeWritable() { return Remount(0); }

 private:
  bool Remount(unsigned long flags) {
    return mounted_ && ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | flags, nullptr) == 0;
  }

  std::string folder_;
  bool mounted_ = false;
};

// While it lives, this thread is held to file permissions even as root:
// the capabilities that override them are dropped from its effective set,
// and given back at the end of the scope.
class PermissionsEnforced {
 public:
  PermissionsEnforced() {
    header_.version = _LINUX_CAPABILITY_VERSION_3;
    header_.pid = 0;
    if (::syscall(SYS_capget, &header_, saved_) != 0) return;
    __user_cap_data_struct dropped[2] = {saved_[0], saved_[1]};
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
      dropped[cap / 32].effective &= ~(1u << (cap % 32));
    }
    active_ = ::syscall(SYS_capset, &header_, dropped) == 0;
  }
  PermissionsEnforced(const PermissionsEnforced&) = delete;
  PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;
  ~PermissionsEnforced() {
    if (active_) ::syscall(SYS_capset, &header_, saved_);
  }
  // Returns true iff the overriding capabilities are set aside (or were
  // never held).
  bool ok() const { return active_; }

 private:
  __user_cap_header_struct header_{};
  __user_cap_data_struct saved_[2]{};
  bool active_ = false;
};

}  // namespace ql::test_support
