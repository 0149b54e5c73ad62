#include "base/utf8.h"
#include "base/latin1.h"

#include <gtest/gtest.h>

#include <string>

namespace ql {
namespace {

struct Utf8Case {
  const char* name;
  std::string bytes;
  bool valid;
};

TEST(Utf8Test, AcceptsWellFormedAndRejectsEverythingElse) {
  const Utf8Case cases[] = {
      {"empty", "", true},
      {"ascii", "Volt 12.5", true},
      {"two-byte micro sign", "\xC2\xB5", true},
      {"three-byte euro sign", "\xE2\x82\xAC", true},
      {"four-byte highest", "\xF4\x8F\xBF\xBF", true},
      {"four-byte lowest", "\xF0\x90\x80\x80", true},
      {"latin-1 micro", "\xB5", false},
      {"lone continuation", "\x80", false},
      {"overlong lead C0", "\xC0\xAF", false},
      {"overlong lead C1", "\xC1\xBF", false},
      {"overlong three-byte", "\xE0\x80\xAF", false},
      {"surrogate", "\xED\xA0\x80", false},
      {"overlong four-byte", "\xF0\x8F\xBF\xBF", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", false},
      {"lead F5", "\xF5\x80\x80\x80", false},
      {"lead F7", "\xF7\xBF\xBF\xBF", false},
      {"lead FF", "\xFF", false},
      {"cut short at the end", "ab\xE2\x82", false},
      {"second byte not a continuation", "\xC2\x41", false},
      {"third byte not a continuation", "\xE2\x82\x41", false},
  };
  for (const Utf8Case& c : cases) EXPECT_EQ(IsUtf8(c.bytes), c.valid) << c.name;
}

// Every Latin-1 text survives the way to UTF-8 and back; what Latin-1 cannot
// hold comes back as one '?' a character, never as stray bytes.
TEST(Utf8Test, Latin1ThroughUtf8AndBack) {
  std::string every;
  for (int byte = 1; byte < 256; ++byte) every.push_back(static_cast<char>(byte));
  std::string back;
  AppendUtf8AsLatin1(back, Latin1ToUtf8(every));
  EXPECT_EQ(back, every);

  const std::pair<std::string, std::string> cases[] = {
      {"12.5 \xE2\x82\xAC", "12.5 ?"},  // the euro sign
      {"\xF0\x9F\x98\x80x", "?x"},      // four bytes
      {"\xC0\xB5", "?"},                // an overlong micro sign
      {"\xB5V", "?V"},                  // Latin-1 where UTF-8 belongs
      {"ab\xC2", "ab?"},                // cut short
  };
  for (const auto& [utf8, latin1] : cases) {
    std::string out;
    AppendUtf8AsLatin1(out, utf8);
    EXPECT_EQ(out, latin1) << utf8;
  }
}

}  // namespace
}  // namespace ql
