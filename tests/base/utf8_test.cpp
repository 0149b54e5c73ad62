#include "base/utf8.h"

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

}  // namespace
}  // namespace ql
