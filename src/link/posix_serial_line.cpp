#include "link/posix_serial_line.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "base/error_text.h"

namespace ql {

namespace {

constexpr const char* kPseudoTerminalFolder = "/dev/pts/";

Status OpenFailure(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return Status::NotFound(ErrorText(path, error));
    case EACCES:
    case EPERM:
      return Status::Denied(ErrorText(path, error));
    case EBUSY:
      return Status::Busy(ErrorText(path, error));
    default:
      return Status::IoError(ErrorText(path, error));
  }
}

std::optional<speed_t> SpeedOf(std::uint32_t baudRate) {
  switch (baudRate) {
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return std::nullopt;
  }
}

// Builds the control flags for a line format (codes: parity 0 none, 1 odd,
// 2 even; stop bits 0 one, 2 two). Returns nullopt for formats a terminal
// cannot take.
std::optional<tcflag_t> ControlFlagsOf(const LineFormat& format) {
  tcflag_t flags = 0;
  switch (format.byteSize) {
    case 5:
      flags |= CS5;
      break;
    case 6:
      flags |= CS6;
      break;
    case 7:
      flags |= CS7;
      break;
    case 8:
      flags |= CS8;
      break;
    default:
      return std::nullopt;
  }
  switch (format.parity) {
    case 0:
      break;
    case 1:
      flags |= PARENB | PARODD;
      break;
    case 2:
      flags |= PARENB;
      break;
    default:
      return std::nullopt;
  }
  switch (format.stopBits) {
    case 0:
      break;
    case 2:
      flags |= CSTOPB;
      break;
    default:
      return std::nullopt;
  }
  return flags;
}

// Sets the terminal raw with the given format. Returns true iff the device
// took it, as read back.
bool ApplyFormat(int fd, const LineFormat& format) {
  const std::optional<speed_t> speed = SpeedOf(format.baudRate);
  const std::optional<tcflag_t> control = ControlFlagsOf(format);
  if (!speed || !control) return false;
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
  tio.c_cflag |= *control | CLOCAL | CREAD;
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, *speed) != 0 || cfsetospeed(&tio, *speed) != 0) return false;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  // tcsetattr succeeds when any part of the change was taken: check it all.
  termios back{};
  if (tcgetattr(fd, &back) != 0) return false;
  const tcflag_t checked = CSIZE | PARENB | PARODD | CSTOPB | HUPCL;
  return (back.c_cflag & checked) == (tio.c_cflag & checked) && cfgetispeed(&back) == *speed &&
         cfgetospeed(&back) == *speed;
}

}  // namespace

PosixSerialLine::PosixSerialLine(DeviceMap deviceMap) : m_deviceMap(std::move(deviceMap)) {}

PosixSerialLine::~PosixSerialLine() { Close(); }

Status PosixSerialLine::Open(const std::string& portName) {
  if (IsOpen()) return Status::Busy(m_path + ": the line is already open");
  m_path = m_deviceMap ? m_deviceMap(portName) : std::string();
  m_opened.clear();
  if (m_path.empty()) return Status::NotFound(portName + ": no device is set for this port");
  Status status = OpenPath();
  if (status.ok()) m_opened = m_path;
  return status;
}

Status PosixSerialLine::Reopen() {
  if (IsOpen()) return Status::Busy(m_path + ": the line is already open");
  if (m_opened.empty()) return Status::NotFound("no device was opened before");
  // The kernel hands a pseudo-terminal's number to the next one made, which
  // is another program's line: only a name that stays with its device (a
  // link to it, a USB adapter's node) is worth trying again.
  if (m_opened.rfind(kPseudoTerminalFolder, 0) == 0) {
    return Status::Invalid(m_opened + ": a pseudo-terminal is never the same line again");
  }
  m_path = m_opened;
  return OpenPath();
}

Status PosixSerialLine::OpenPath() {
  UniqueFd fd(::open(m_path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.Valid()) return OpenFailure(m_path, errno);
  // The lock comes first: a second opener must leave the line alone.
  if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK) {
      return Status::Busy(m_path + ": already in use by another program (" + std::strerror(error) +
                          ")");
    }
    return OpenFailure(m_path, error);
  }
  if (!::isatty(fd.Get())) return Status::Invalid(m_path + ": not a serial device");
  ::ioctl(fd.Get(), TIOCEXCL);
  termios before{};
  m_before = ::tcgetattr(fd.Get(), &before) == 0 ? std::optional(before) : std::nullopt;
  // The format is SetFormat's: a refused format takes its own path.
  m_fd = std::move(fd);
  m_lost = false;
  return Status::Ok();
}

bool PosixSerialLine::SetFormat(const LineFormat& format) {
  return IsOpen() && ApplyFormat(m_fd.Get(), format);
}

bool PosixSerialLine::SetModemLine(int line, bool on) {
  if (!IsOpen()) return false;
  return ::ioctl(m_fd.Get(), on ? TIOCMBIS : TIOCMBIC, &line) == 0;
}

bool PosixSerialLine::SetDtr(bool on) { return SetModemLine(TIOCM_DTR, on); }

bool PosixSerialLine::SetRts(bool on) { return SetModemLine(TIOCM_RTS, on); }

std::optional<std::size_t> PosixSerialLine::Queued() {
  if (!IsOpen()) return 0;
  if (m_lost) return std::nullopt;
  pollfd p{m_fd.Get(), POLLIN, 0};
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
    m_lost = true;
    return std::nullopt;
  }
  int queued = 0;
  if (::ioctl(m_fd.Get(), FIONREAD, &queued) != 0 || queued < 0) {
    m_lost = true;
    return std::nullopt;
  }
  return static_cast<std::size_t>(queued);
}

std::size_t PosixSerialLine::Read(std::uint8_t* buffer, std::size_t size) {
  if (!IsOpen() || m_lost || size == 0) return 0;
  ssize_t got = ::read(m_fd.Get(), buffer, size);
  if (got < 0 && errno == EINTR) got = ::read(m_fd.Get(), buffer, size);
  if (got < 0) {
    if (errno == EIO) m_lost = true;
    return 0;
  }
  return static_cast<std::size_t>(got);
}

void PosixSerialLine::Purge() {
  if (IsOpen()) ::tcflush(m_fd.Get(), TCIOFLUSH);
}

bool PosixSerialLine::CarrierDetect() {
  int lines = 0;
  return IsOpen() && ::ioctl(m_fd.Get(), TIOCMGET, &lines) == 0 && (lines & TIOCM_CAR) != 0;
}

std::optional<ModemInputs> PosixSerialLine::ReadModemInputs() const {
  int lines = 0;
  if (!IsOpen() || ::ioctl(m_fd.Get(), TIOCMGET, &lines) != 0) return std::nullopt;
  return ModemInputs{(lines & TIOCM_CAR) != 0, (lines & TIOCM_DSR) != 0, (lines & TIOCM_CTS) != 0};
}

void PosixSerialLine::Close() {
  if (!IsOpen()) return;
  // The terminal gets back the settings it had before Open (a tty used as a
  // port is left usable), but without HUPCL, so that the last close leaves
  // DTR and RTS where the caller put them, and never at speed 0, which would
  // drop them now.
  termios tio{};
  if (::tcgetattr(m_fd.Get(), &tio) == 0) {
    const speed_t speed = cfgetospeed(&tio);
    if (m_before) tio = *m_before;
    if (cfgetospeed(&tio) == B0) {
      cfsetospeed(&tio, speed);
      cfsetispeed(&tio, speed);
    }
    tio.c_cflag &= ~tcflag_t{HUPCL};
    ::tcsetattr(m_fd.Get(), TCSANOW, &tio);
  }
  m_before.reset();
  // Exclusive mode belongs to the terminal, not to this descriptor: give it
  // up, or the device would stay closed to the next opener.
  ::ioctl(m_fd.Get(), TIOCNXCL);
  m_fd.Reset();
  m_lost = false;
}

}  // namespace ql
