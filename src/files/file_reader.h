#pragma once
// A file opened for reading, closed when the object goes; the shared first
// steps of loading a data file (open, refuse folders, read whole blocks).

#include <cstddef>
#include <string>

#include "base/status.h"
#include "base/unique_fd.h"

namespace ql {

class FileReader {
 public:
  FileReader() = default;
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;

  // Opens `path` for reading. A folder is refused (Status::Invalid).
  Status Open(const std::string& path);
  // The file's size in bytes when it is a regular file, else -1.
  long long Size() const { return size_; }
  // Reads until `size` bytes were read or the end of the file; `got` is the
  // number read (less than `size` only at the end of the file).
  // REQUIRES: Open() succeeded.
  Status Read(char* data, std::size_t size, std::size_t& got);

 private:
  std::string path_;
  UniqueFd fd_;
  long long size_ = -1;
};

// A Status for the system error `error` on `path`, with "<what> <path>:
// <reason>" as its text and a code that says what kind of failure it was.
Status FileFailure(const std::string& what, const std::string& path, int error);

}  // namespace ql
