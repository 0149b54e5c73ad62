#include "files/file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace ql {

Status FileFailure(const std::string& what, const std::string& path, int error) {
  std::string reason = what + " " + path + ": " + std::strerror(error);
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return Status::NotFound(reason);
    case EACCES:
    case EPERM:
    case EROFS:
      return Status::Denied(reason);
    case EISDIR:
      return Status::Invalid(reason);
    default:
      return Status::IoError(reason);
  }
}

Status FileReader::Open(const std::string& path) {
  path_ = path;
  // Opened without waiting, so that a named pipe nobody writes to cannot
  // hang the program; reads then wait as usual.
  fd_ = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd_.Valid()) return FileFailure("cannot open", path, errno);
  int flags = ::fcntl(fd_.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd_.Get(), F_SETFL, flags & ~O_NONBLOCK) != 0) {
    return FileFailure("cannot open", path, errno);
  }
  struct stat info {};
  if (::fstat(fd_.Get(), &info) != 0) return FileFailure("cannot open", path, errno);
  if (S_ISDIR(info.st_mode)) return FileFailure("cannot open", path, EISDIR);
  if (S_ISREG(info.st_mode)) size_ = static_cast<long long>(info.st_size);
  return Status::Ok();
}

Status FileReader::Read(char* data, std::size_t size, std::size_t& got) {
  got = 0;
  while (got < size) {
    ssize_t n = ::read(fd_.Get(), data + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return FileFailure("cannot read", path_, errno);
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return Status::Ok();
}

}  // namespace ql
