#pragma once
// Graph files: the dot picture of graph_picture.h on disk, and telling the
// two kinds of data file apart.
//
// A graph file is exactly 4112 bytes: the magic "GRAPH*1QKDT530.0" (16
// bytes), then each of the 1024 picture bytes as a decimal number in 4
// characters, right-aligned with blanks ("%4d"), with no separators.

#include <string>
#include <string_view>

#include "base/status.h"
#include "graph/graph_picture.h"

namespace ql {

inline constexpr std::string_view kGraphMagic = "GRAPH*1QKDT530.0";
inline constexpr std::size_t kGraphFileSize = 16 + 4 * 1024;

// Writes `picture` to `path` as a graph file, atomically (atomic_file.h).
Status SaveGraphFile(const std::string& path, const GraphPicture& picture);

// The value of one 4-character field: leading blanks skipped, an optional
// sign, then decimal digits up to the first other character; its low 8 bits
// ("1234" gives 210, "  -1" gives 255). A field with no number gives 0.
std::uint8_t ParseGraphField(std::string_view field);

// Reads the graph file at `path` into `picture`. The magic itself is not
// checked (a file is a graph file by its first three bytes, see
// SniffDataFile); bytes past 4112 are ignored. A file shorter than 4112
// bytes is refused as truncated rather than shown with a part of its
// picture made up. On any error `picture` is untouched.
Status LoadGraphFile(const std::string& path, GraphPicture& picture);

enum class DataFileKind { kReading, kGraph };

// Tells the kind of the data file at `path`: a graph file when its first
// bytes are "GRA", else a reading file (an empty file too). A file that
// cannot be read gives an error Status and leaves `kind` untouched.
Status SniffDataFile(const std::string& path, DataFileKind& kind);

}  // namespace ql
