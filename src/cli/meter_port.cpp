#include "cli/meter_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace ql::cli {

namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Raw bytes at 2400 baud, 8 data bits, no parity, one stop bit.
void SetRawLine(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return;  // not a terminal: nothing to set
  cfmakeraw(&settings);
  settings.c_cflag &= ~(PARENB | CSTOPB | CSIZE | CRTSCTS);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  cfsetispeed(&settings, B2400);
  cfsetospeed(&settings, B2400);
  tcsetattr(fd, TCSANOW, &settings);
}

}  // namespace

Status MeterPort::OpenPseudoTerminal() {
  out_ = UniqueFd(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!out_.Valid()) return Status::IoError(SystemError("posix_openpt"));
  const int master = out_.Get();
  std::array<char, 128> name{};
  if (grantpt(master) != 0 || unlockpt(master) != 0 ||
      ptsname_r(master, name.data(), name.size()) != 0) {
    return Status::IoError(SystemError("pseudo-terminal"));
  }
  path_ = name.data();
  slave_ = UniqueFd(open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave_.Valid()) return Status::IoError(SystemError(path_));
  SetRawLine(slave_.Get());
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  return Status::Ok();
}

Status MeterPort::OpenDevice(const std::string& path) {
  path_ = path;
  out_ = UniqueFd(open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!out_.Valid()) {
    return errno == EACCES ? Status::Denied(SystemError(path)) : Status::IoError(SystemError(path));
  }
  SetRawLine(out_.Get());
  return Status::Ok();
}

bool MeterPort::Write(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(out_.Get(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {  // EWOULDBLOCK is the same number on Linux
      return true;  // nobody is reading: the rest is lost, as on a real line
    } else {
      return false;
    }
  }
  return true;
}

void MeterPort::SetCarrier(bool on) {
  int line = TIOCM_DTR;
  ioctl(out_.Get(), on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace ql::cli
