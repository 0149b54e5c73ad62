#include "files/graph_file.h"

#include <cctype>
#include <cstdio>

#include "files/atomic_file.h"
#include "files/file_reader.h"

namespace ql {

Status SaveGraphFile(const std::string& path, const GraphPicture& picture) {
  std::string contents(kGraphMagic);
  contents.reserve(kGraphFileSize);
  for (std::uint8_t byte : picture) {
    char field[5];
    std::snprintf(field, sizeof field, "%4d", static_cast<int>(byte));
    contents += field;
  }
  return WriteFileAtomically(path, contents);
}

std::uint8_t ParseGraphField(std::string_view field) {
  std::size_t at = 0;
  while (at < field.size() && std::isspace(static_cast<unsigned char>(field[at]))) ++at;
  bool negative = false;
  if (at < field.size() && (field[at] == '-' || field[at] == '+')) negative = field[at++] == '-';
  int value = 0;
  for (; at < field.size() && std::isdigit(static_cast<unsigned char>(field[at])); ++at) {
    value = value * 10 + (field[at] - '0');
  }
  return static_cast<std::uint8_t>(negative ? -value : value);
}

Status LoadGraphFile(const std::string& path, GraphPicture& picture) {
  FileReader file;
  Status status = file.Open(path);
  if (!status.ok()) return status;
  std::string contents(kGraphFileSize, '\0');
  std::size_t got = 0;
  status = file.Read(contents.data(), contents.size(), got);
  if (!status.ok()) return status;
  if (got < kGraphFileSize) {
    return Status::Invalid("cannot open " + path + ": graph file is cut short (" +
                           std::to_string(got) + " of " + std::to_string(kGraphFileSize) +
                           " bytes)");
  }
  std::string_view fields(contents);
  fields.remove_prefix(kGraphMagic.size());
  for (std::size_t k = 0; k < picture.size(); ++k) {
    picture[k] = ParseGraphField(fields.substr(4 * k, 4));
  }
  return Status::Ok();
}

Status SniffDataFile(const std::string& path, DataFileKind& kind) {
  FileReader file;
  Status status = file.Open(path);
  if (!status.ok()) return status;
  char head[3];
  std::size_t got = 0;
  status = file.Read(head, sizeof head, got);
  if (!status.ok()) return status;
  kind = got == 3 && std::string_view(head, 3) == "GRA" ? DataFileKind::kGraph
                                                        : DataFileKind::kReading;
  return Status::Ok();
}

}  // namespace ql
