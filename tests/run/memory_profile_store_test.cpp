// Settings in memory behave as the settings file does: values are text, an
// integer is read only from a whole number, and only writes through the
// store are logged.

#include "run/memory_profile_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ql {
namespace {

TEST(MemoryProfileStoreTest, IntegersAreReadOnlyFromWholeNumbers) {
  struct Case {
    const char* stored;
    int read;
  };
  for (const Case& c : {Case{"20", 20}, Case{"-5", -5}, Case{"2x", 7}, Case{"", 7}, Case{" 20", 7},
                        Case{"99999999999", 7}, Case{"loud", 7}}) {
    SCOPED_TRACE(c.stored);
    MemoryProfileStore store;
    store.Set("Db", "Ref", c.stored);
    EXPECT_EQ(store.GetInt("Db", "Ref", 7), c.read);
    EXPECT_EQ(store.GetString("Db", "Ref", "none"), c.stored);
  }
}

TEST(MemoryProfileStoreTest, ValuesAreKeptBySectionAndKeyAndWritesAreLoggedInOrder) {
  MemoryProfileStore store;
  store.Set("COMM", "Port", "2");  // as if the file held it: no write
  EXPECT_TRUE(store.WriteInt("Sampling Time", "Current", 100));
  EXPECT_TRUE(store.WriteString("Db", "Ref", "600"));

  EXPECT_EQ(store.GetString("Sampling Time", "Current", ""), "100");
  EXPECT_EQ(store.GetInt("Db", "Ref", 0), 600);
  EXPECT_EQ(store.GetInt("COMM", "Port", 0), 2);
  EXPECT_EQ(store.GetInt("COMM", "Current", -1), -1) << "a key of another section";
  EXPECT_EQ(store.Get("Sampling", "Time/Current"), "");
  EXPECT_EQ(store.Writes(), (std::vector<std::string>{"Sampling Time/Current=100", "Db/Ref=600"}));
}

}  // namespace
}  // namespace ql
