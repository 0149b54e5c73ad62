#include "cli/meter_port.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "base/error_text.h"

namespace ql::cli {

namespace {


// Raw bytes at 2400 baud, 8 data bits, no parity, one stop bit.
void SetRawLine(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return;  // not a terminal: nothing to set
  cfmakeraw(&settings);
  settings.c_cflag &= ~tcflag_t{PARENB | CSTOPB | CSIZE | CRTSCTS};
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  cfsetispeed(&settings, B2400);
  cfsetospeed(&settings, B2400);
  tcsetattr(fd, TCSANOW, &settings);
}

}  // namespace

Status MeterPort::OpenPseudoTerminal() {
  if (const Status status = pty_.Open(/*nonBlocking=*/true); !status.ok()) return status;
  path_ = pty_.SlavePath();
  slave_ = UniqueFd(open(path_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!slave_.Valid()) return Status::IoError(ErrorText(path_, errno));
  SetRawLine(slave_.Get());
  return Status::Ok();
}

Status MeterPort::OpenDevice(const std::string& path) {
  path_ = path;
  device_ = UniqueFd(open(path.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!device_.Valid()) {
    return errno == EACCES ? Status::Denied(ErrorText(path, errno)) : Status::IoError(ErrorText(path, errno));
  }
  SetRawLine(device_.Get());
  return Status::Ok();
}

bool MeterPort::Write(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(Out(), bytes.data() + done, bytes.size() - done);
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

bool MeterPort::PeerOpened() const {
  int exclusive = 0;
  return slave_.Valid() && ioctl(slave_.Get(), TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

void MeterPort::SetCarrier(bool on) {
  int line = TIOCM_DTR;
  ioctl(Out(), on ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace ql::cli
