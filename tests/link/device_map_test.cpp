#include "link/device_map.h"

#include <gtest/gtest.h>

namespace ql {
namespace {

TEST(DeviceMapTest, DefaultPaths) {
  EXPECT_EQ(DefaultDevicePath("COM1"), "/dev/ttyS0");
  EXPECT_EQ(DefaultDevicePath("COM2"), "/dev/ttyUSB0");
  EXPECT_EQ(DefaultDevicePath("COM3"), "/dev/ttyUSB1");
  EXPECT_EQ(DefaultDevicePath("COM4"), "/dev/ttyACM0");
  EXPECT_EQ(DefaultDevicePath("COM0"), "");
  EXPECT_EQ(DefaultDevicePath("COM5"), "");
  EXPECT_EQ(DefaultDevicePath("\\\\.\\TELNET"), "");
  EXPECT_EQ(DefaultDevicePath("com1"), "");
}

}  // namespace
}  // namespace ql
