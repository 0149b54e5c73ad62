// simulate writing to a device it is given: the frames of the sequence, at
// the pace asked, until --frames were sent. (On a pseudo-terminal it feeds
// the monitor and log tests.)

#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_fixture.h"

namespace ql::test_support {
namespace {

class SimulateCommand : public CliTest {};

TEST_F(SimulateCommand, DeviceGetsTheFramesAndFramesStopsTheRun) {
  std::ofstream(PathOf("line.bin")).close();
  const CliResult result = RunCli({"simulate", "--device", PathOf("line.bin"), "--rate", "100",
                                   "--frames", "3", "--reading", "DC 12.34 V"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, PathOf("line.bin") + "\n");
  const std::string bytes = ReadBytes(PathOf("line.bin"));
  ASSERT_EQ(bytes.size(), 3u * 14u);
  EXPECT_EQ(bytes.substr(0, 14), bytes.substr(14, 14));
  // The last three bytes of a frame carry the end marker C, D, E.
  EXPECT_EQ(static_cast<unsigned char>(bytes[11]) >> 4, 0xC);
  EXPECT_EQ(static_cast<unsigned char>(bytes[12]) >> 4, 0xD);
  EXPECT_EQ(static_cast<unsigned char>(bytes[13]) >> 4, 0xE);
}

}  // namespace
}  // namespace ql::test_support
