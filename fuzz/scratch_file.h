#pragma once
// Files for fuzz targets whose code under test reads and writes paths: one
// private folder per process, in memory where the system has a tmpfs
// (/dev/shm), removed when the process exits.

#include <string>
#include <string_view>

namespace ql::fuzz {

// The path of `name` in the process's scratch folder.
std::string ScratchPath(std::string_view name);

// Replaces the file at `path` with `bytes`. Returns true iff all were written.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// The bytes of the file at `path`; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace ql::fuzz
