#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "link/PseudoTerminal.h"
#include "tests/cli/CliRunner.h"

namespace {

TEST(OrviLive, JsonLinesWithNullWhereTheReceiverSaysNothing)
{
    std::string error;
    std::unique_ptr<PseudoTerminal> receiver = PseudoTerminal::Create(error);
    ASSERT_TRUE(receiver) << error;
    // The line keeps what the receiver sent until orvi opens it.
    std::vector<uint8_t> bytes = ReadBytes(ORVI_TEST_DATA "/nmea/no-fix.nmea");
    ASSERT_EQ(receiver->Write(bytes.data(), static_cast<int>(bytes.size())),
              static_cast<int>(bytes.size()));

    CliResult r = RunOrvi("live --nmea --port " + receiver->DevicePath() + " --count 1 --json");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream out(r.out);
    for (std::string line; std::getline(out, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 4u) << r.out;  // three without a fix, then the first position
    EXPECT_EQ(lines[0],
              R"({"time":null,"latitude":null,"longitude":null,"altitude":null,"fix":"none",)"
              R"("speed":null,"course":null,"satellites":null})");
    EXPECT_EQ(lines[3], R"({"time":"2024-03-23T12:35:20.000Z","latitude":48.117316667,)"
                        R"("longitude":11.516816667,"altitude":null,"fix":"2d","speed":1.543,)"
                        R"("course":180.0,"satellites":3})");
    EXPECT_NE(r.err.find("orvi: live: waiting for a fix (" + receiver->DevicePath() + ")"),
              std::string::npos)
        << r.err;
}

}  // namespace
