#include "files/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "files/file_reader.h"

namespace ql {
namespace {

constexpr std::size_t kBlockSize = 1 << 20;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

// A short name in the folder of `path` that no other writer in this or
// another process picks at the same time; short, so that a target whose
// name is near the limit can still be written.
std::string TempName(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  return FolderOf(path) + "/.ql" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Where saving to `path` writes: through a symbolic link to the file it
// points to, also when that file does not exist yet (its folder must).
Status ResolveTarget(const std::string& path, std::string& target) {
  target = path;
  struct stat entry {};
  if (::lstat(path.c_str(), &entry) != 0 || !S_ISLNK(entry.st_mode)) return Status::Ok();
  if (char* real = ::realpath(path.c_str(), nullptr)) {
    target = real;
    std::free(real);
    return Status::Ok();
  }
  // A dangling link: the name it holds, read beside the link.
  std::string text(4096, '\0');
  const ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
  if (n < 0) return FileFailure("cannot save", path, errno);
  text.resize(static_cast<std::size_t>(n));
  target = text.front() == '/' ? text : FolderOf(path) + "/" + text;
  if (::lstat(target.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode)) {
    return FileFailure("cannot save", path, ELOOP);  // a chain that leads nowhere
  }
  if (::stat(FolderOf(target).c_str(), &entry) != 0) {
    return FileFailure("cannot save", path + " (a link to " + text + ")", errno);
  }
  return Status::Ok();
}

// Makes the rename itself durable. The new file is already complete and in
// place, so a failure here is not reported.
void SyncFolderOf(const std::string& path) {
  const UniqueFd folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.Valid()) ::fsync(folder.Get());
}

}  // namespace

AtomicFile::~AtomicFile() { Abandon(); }

Status AtomicFile::Open(const std::string& path) {
  // Saving through a symbolic link replaces the file it points to; a target
  // that is not a plain file (a device, a pipe, a folder) is never replaced.
  if (Status status = ResolveTarget(path, path_); !status.ok()) {
    failed_ = true;
    return status;
  }
  struct stat entry {};
  if (::stat(path_.c_str(), &entry) == 0 && !S_ISREG(entry.st_mode)) {
    failed_ = true;
    return Status::Invalid("cannot save " + path + ": not a regular file");
  }
  // The rename needs only the folder's permission: a write-protected file
  // is refused as a plain write would refuse it.
  if (::access(path_.c_str(), F_OK) == 0 &&
      ::faccessat(AT_FDCWD, path_.c_str(), W_OK, AT_EACCESS) != 0) {
    failed_ = true;
    return FileFailure("cannot replace", path, errno);
  }
  const std::size_t slash = path_.rfind('/');
  const std::string name = slash == std::string::npos ? path_ : path_.substr(slash + 1);
  const long nameMax = ::pathconf(FolderOf(path_).c_str(), _PC_NAME_MAX);
  if (nameMax > 0 && name.size() > static_cast<std::size_t>(nameMax)) {
    failed_ = true;
    return FileFailure("cannot save", path, ENAMETOOLONG);
  }
  for (int attempt = 0; attempt < 10; ++attempt) {
    tempPath_ = TempName(path_);
    fd_ = UniqueFd(::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd_.Valid() || errno != EEXIST) break;
  }
  if (!fd_.Valid()) {
    int error = errno;
    tempPath_.clear();
    failed_ = true;
    return FileFailure("cannot create", path, error);
  }
  if (::stat(path_.c_str(), &entry) == 0) ::fchmod(fd_.Get(), entry.st_mode & 07777);
  buffer_.reserve(kBlockSize);
  return Status::Ok();
}

Status AtomicFile::Write(std::string_view bytes) {
  if (!fd_.Valid() || failed_) return Status::IoError("cannot write " + path_ + ": file not open");
  while (!bytes.empty()) {
    std::size_t room = kBlockSize - buffer_.size();
    std::size_t take = bytes.size() < room ? bytes.size() : room;
    buffer_.append(bytes.substr(0, take));
    bytes.remove_prefix(take);
    if (buffer_.size() == kBlockSize) {
      Status status = Flush();
      if (!status.ok()) return status;
    }
  }
  return Status::Ok();
}

Status AtomicFile::Flush() {
  std::size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::write(fd_.Get(), buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      int error = n < 0 ? errno : EIO;
      Abandon();
      return FileFailure("cannot write", path_, error);
    }
    done += static_cast<std::size_t>(n);
  }
  buffer_.clear();
  return Status::Ok();
}

Status AtomicFile::Commit() {
  if (!fd_.Valid() || failed_) return Status::IoError("cannot write " + path_ + ": file not open");
  Status status = Flush();
  if (!status.ok()) return status;
  if (::fsync(fd_.Get()) != 0) {
    int error = errno;
    Abandon();
    return FileFailure("cannot write", path_, error);
  }
  // The last write error of some file systems shows only here.
  if (fd_.Close() != 0) {
    int error = errno;
    Abandon();
    return FileFailure("cannot write", path_, error);
  }
  if (::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    int error = errno;
    Abandon();
    return FileFailure("cannot replace", path_, error);
  }
  tempPath_.clear();
  SyncFolderOf(path_);
  return Status::Ok();
}

void AtomicFile::Abandon() {
  failed_ = true;
  fd_.Reset();
  if (!tempPath_.empty()) {
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

Status CheckReplaceable(const std::string& path) {
  AtomicFile probe;  // its temporary file goes when it does
  return probe.Open(path);
}

Status WriteFileAtomically(const std::string& path, std::string_view contents) {
  AtomicFile file;
  Status status = file.Open(path);
  if (status.ok()) status = file.Write(contents);
  if (status.ok()) status = file.Commit();
  return status;
}

}  // namespace ql
