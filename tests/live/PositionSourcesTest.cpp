#include <gtest/gtest.h>

#include "live/PositionSources.h"

namespace {

TEST(ParseGpsdAddress, HostAndOptionalPort)
{
    struct {
        const char* legend;
        const char* text;
        bool ok;
        const char* host;
        int port;
    } const kRows[] = {
        {"a host alone keeps the port", "gps.local", true, "gps.local", 2947},
        {"host and port", "127.0.0.1:3000", true, "127.0.0.1", 3000},
        {"an IPv6 address", "::1", false, "", 0},
        {"an empty port", "localhost:", false, "", 0},
        {"no host", ":2947", false, "", 0},
        {"port 0", "localhost:0", false, "", 0},
        {"a port beyond 65535", "localhost:65536", false, "", 0},
        {"a port that is no number", "localhost:29a", false, "", 0},
    };
    for (const auto& row : kRows) {
        SCOPED_TRACE(row.legend);
        std::string host = "localhost";
        int port = 2947;
        ASSERT_EQ(ParseGpsdAddress(row.text, host, port), row.ok);
        if (row.ok) {
            EXPECT_EQ(host, row.host);
            EXPECT_EQ(port, row.port);
        }
    }
}

}  // namespace
