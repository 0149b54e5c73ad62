#pragma once
// Writes a file so that it is either wholly replaced or left as it was: the
// bytes go to a new temporary file beside the target, and only when every
// write, the flush to the disk and the close succeeded is the temporary file
// renamed over the target. On any failure the temporary file is removed and
// the target keeps its old contents.
//
// A file that is replaced keeps its permission bits; a new file gets the
// usual ones (0666 less the umask).

#include <string>
#include <string_view>

#include "base/status.h"
#include "base/unique_fd.h"

namespace ql {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  // Removes the temporary file unless Commit() succeeded.
  ~AtomicFile();

  // Creates the temporary file for `path`.
  // REQUIRES: Open() not called before on this object.
  Status Open(const std::string& path);
  // Appends `bytes`; they are buffered and written in large blocks.
  // REQUIRES: Open() succeeded.
  Status Write(std::string_view bytes);
  // Writes what is buffered, flushes it to the disk, closes the file and
  // renames it over the target. After a failure the target is unchanged.
  Status Commit();

 private:
  Status Flush();
  void Abandon();

  std::string path_;
  std::string tempPath_;
  std::string buffer_;
  UniqueFd fd_;  // the temporary file, open until Commit closes it
  bool failed_ = false;
};

// Ok iff a save to `path` can start: the folder exists and takes a new
// file, the target is absent or a regular file that may be written, the
// name fits. Checked before a long run, so that its end is not lost.
Status CheckReplaceable(const std::string& path);

// Replaces the file at `path` by `contents` as above.
Status WriteFileAtomically(const std::string& path, std::string_view contents);

}  // namespace ql
