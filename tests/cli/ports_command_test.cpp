// ports against the simulator's pseudo-terminal: the port name the
// settings file maps to it, listening (which hears the meter's frames and
// writes nothing), JSON for scripts, and a device that cannot be opened.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include <fstream>

#include "cli/cli_fixture.h"
#include "support/pty.h"

namespace ql::test_support {
namespace {

class PortsCommand : public CliTest {};

TEST_F(PortsCommand, ListeningHearsTheMeterAndNamesItsPort) {
  Simulator meter({"--reading", "DC 12.34 V"});
  ASSERT_FALSE(meter.Pty().empty());
  std::ofstream(PathOf("settings.ini")) << "[COMM]\nCOM3=" << meter.Pty() << "\n";
  const CliResult result =
      RunCli({"ports", "--listen", "2", "--settings", PathOf("settings.ini"), meter.Pty()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 5u) << result.out;
  EXPECT_EQ(lines[0], meter.Pty());
  EXPECT_EQ(lines[1], "  port:    COM3");
  EXPECT_EQ(lines[2], "  access:  can be opened");
  // The simulator keeps its side of the terminal open.
  EXPECT_EQ(lines[3].rfind("  note:    also open in process ", 0), 0u) << lines[3];
  EXPECT_NE(lines[3].find("(quintaline-cli)"), std::string::npos) << lines[3];
  EXPECT_EQ(lines[4].rfind("  listen:  ", 0), 0u) << lines[4];
  EXPECT_NE(lines[4].find(" meter frames in 2 s, last 12.34 V"), std::string::npos) << lines[4];
}

TEST_F(PortsCommand, JsonListsTheDeviceAndWhyItCannotBeOpened) {
  std::ofstream(PathOf("settings.ini")) << "[COMM]\n";
  const CliResult result = RunCli({"ports", "--json", "--listen", "1", "--settings",
                                   PathOf("settings.ini"), PathOf("ttyUSB7")});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "{\"devices\":[{\"name\":\"ttyUSB7\",\"path\":\"" + PathOf("ttyUSB7") +
                            "\",\"by_id\":[],\"by_path\":[],\"driver\":\"\",\"usb_id\":\"\","
                            "\"maker\":\"\",\"product\":\"\",\"serial\":\"\",\"com\":[],"
                            "\"can_open\":false,\"problem\":\"" +
                            PathOf("ttyUSB7") +
                            " does not exist\",\"mend\":\"\",\"also_open_in\":\"\"}]}\n");
}

TEST_F(PortsCommand, ListeningToASilentLineWritesNothing) {
  Pty meter({.nonBlocking = true});
  ASSERT_TRUE(meter.ok());
  std::ofstream(PathOf("settings.ini")) << "[COMM]\n";
  const CliResult result =
      RunCli({"ports", "--listen", "1", "--settings", PathOf("settings.ini"), meter.SlavePath()});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_NE(result.out.find("  listen:  no meter frames in 1 s"), std::string::npos) << result.out;
  // Whatever the listener had written would now wait on the meter's side.
  char byte = 0;
  EXPECT_LE(read(meter.MasterFd(), &byte, 1), 0);
}

TEST_F(PortsCommand, BadListenTimeIsAUsageError) {
  const CliResult result = RunCli({"ports", "--listen", "0"});
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_NE(result.err.find("--listen"), std::string::npos);
}

}  // namespace
}  // namespace ql::test_support
