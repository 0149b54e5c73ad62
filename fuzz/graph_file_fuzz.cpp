// Opening arbitrary bytes as a graph file: a file cut short is refused and
// leaves the picture as it was; otherwise each 4-character field loads as
// the low 8 bits of the decimal number it starts with (as strtol reads it),
// the picture draws, and saving it writes a 4112-byte file that opens to the
// same picture.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "files/graph_file.h"
#include "fuzz_check.h"
#include "graph/graph_picture.h"
#include "graph/recording_canvas.h"
#include "scratch_file.h"

namespace {

std::uint8_t FieldValue(std::string_view field) {
  char text[5] = {};
  std::memcpy(text, field.data(), field.size());
  return static_cast<std::uint8_t>(std::strtol(text, nullptr, 10));
}

// Squares of the dots that can be shown: 127 columns of 6 bands of 8 rows
// and one band of 3 rows, plus the background.
constexpr std::size_t kMostDrawOps = 1 + 127 * (6 * 8 + 3);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string input = ql::fuzz::ScratchPath("input.rdg");
  static const std::string saved = ql::fuzz::ScratchPath("saved.rdg");
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(ql::fuzz::WriteWholeFile(input, bytes));

  ql::GraphPicture picture;
  picture.fill(0x5A);
  const ql::Status status = ql::LoadGraphFile(input, picture);
  if (size < ql::kGraphFileSize) {
    FUZZ_CHECK(!status.ok());
    for (std::uint8_t byte : picture) FUZZ_CHECK(byte == 0x5A);
    return 0;
  }
  FUZZ_CHECK(status.ok());
  for (std::size_t k = 0; k < picture.size(); ++k) {
    FUZZ_CHECK(picture[k] == FieldValue(bytes.substr(ql::kGraphMagic.size() + 4 * k, 4)));
  }

  ql::GraphPicture shown = picture;
  ql::RecordingCanvas canvas;
  ql::DrawGraphFile(canvas, shown);
  FUZZ_CHECK(canvas.Ops().size() <= kMostDrawOps);

  FUZZ_CHECK(ql::SaveGraphFile(saved, picture).ok());
  const std::string written = ql::fuzz::ReadWholeFile(saved);
  FUZZ_CHECK(written.size() == ql::kGraphFileSize);
  FUZZ_CHECK(written.starts_with(ql::kGraphMagic));
  ql::GraphPicture reloaded{};
  FUZZ_CHECK(ql::LoadGraphFile(saved, reloaded).ok());
  FUZZ_CHECK(reloaded == picture);
  return 0;
}
