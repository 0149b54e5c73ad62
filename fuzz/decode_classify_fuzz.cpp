// Decoding and classifying arbitrary display frames one after another, with
// the decoder's texts carried from frame to frame as the sampling cycle
// carries them (a frame without function annunciators keeps the function of
// the one before), including frames cut short.
//
// Input: records of one control byte and up to 14 frame bytes. Control bit 0
// is the carrier-detect line; bits 1..4, when not zero, cut the frame to that
// many bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "base/frame_layout.h"
#include "decode/classify.h"
#include "decode/lcd_decoder.h"
#include "fuzz_check.h"

namespace {

constexpr std::size_t kFrameSize = ql::frame::kFrameSize;

// The fixed-width fields keep their widths whatever the frame held.
void CheckTexts(const ql::LcdTexts& texts) {
  FUZZ_CHECK(std::strlen(texts.display) == 6);
  FUZZ_CHECK(std::strlen(texts.unit) == 4);
  FUZZ_CHECK(std::strlen(texts.code) == 3);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ql::LcdTexts texts;
  std::size_t at = 0;
  while (at < size) {
    const std::uint8_t control = data[at++];
    const bool carrier = (control & 1) != 0;
    std::size_t length = std::min(kFrameSize, size - at);
    if (const std::size_t cut = (control >> 1) & 0x0F; cut != 0 && cut < length) length = cut;
    const std::string_view frame(reinterpret_cast<const char*>(data + at), length);
    at += length;

    const ql::LcdTexts before = texts;
    int carrierAsked = 0;
    const bool accepted = ql::DecodeLcdFrame(
        frame,
        [&] {
          ++carrierAsked;
          return carrier;
        },
        texts);
    CheckTexts(texts);
    FUZZ_CHECK(carrierAsked <= 1);
    if (frame.size() < kFrameSize) FUZZ_CHECK(!accepted);
    if (!accepted) {
      FUZZ_CHECK(std::memcmp(&before, &texts, sizeof texts) == 0);
      FUZZ_CHECK(carrierAsked == 0);
      continue;
    }

    const ql::Reading reading = ql::Classify(texts);
    CheckTexts(texts);
    FUZZ_CHECK(std::isfinite(reading.value));
    FUZZ_CHECK(std::isfinite(reading.scaled));
    FUZZ_CHECK(reading.decimals >= 0 && reading.decimals <= 5);
    if (reading.classLetter == 0) {
      FUZZ_CHECK(texts.code[0] < 'A' || texts.code[0] > 'Y');
      continue;
    }
    FUZZ_CHECK(reading.classLetter >= 'A' && reading.classLetter <= 'Y');
    FUZZ_CHECK(texts.code[0] == reading.classLetter);
    FUZZ_CHECK(std::strlen(reading.label) == 20);
    const bool listOver = ql::ListOverRange(texts.display, reading.classLetter, reading.decimals);
    const bool panelOver = ql::PanelOverRange(texts.display, reading.classLetter, reading.decimals);
    if (reading.classLetter == 'M' || reading.classLetter == 'N') {
      FUZZ_CHECK(!listOver && !panelOver);
    }
  }
  return 0;
}
