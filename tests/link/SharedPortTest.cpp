#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "link/CGpsConnection.h"
#include "link/SerialPort.h"
#include "tests/link/ScriptedPort.h"

namespace {

int Users()
{
    return SharedPort::Instance().Users();
}

bool PortOpen()
{
    return SharedPort::Instance().IsOpen();
}

TEST(PortName, ComNamesAndPaths)
{
    struct Case {
        const char* name;
        const char* device;
    } cases[] = {
        {"COM1:", "/dev/ttyS0"},
        {"com3:", "/dev/ttyS2"},
        {"Com12", "/dev/ttyS11"},
        {"/dev/ttyUSB0", "/dev/ttyUSB0"},
        {"COM0:", ""},
        {"COM:", ""},
        {"COMx:", ""},
        {"LPT1:", ""},
        {"ttyS0", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DevicePathForPort(c.name), c.device) << c.name;
    }
}

TEST(SharedPort, ACancelledOpeningKeepsThePortWithoutAProductExchangeOrMessage)
{
    ScriptedLinkEnvironment env;
    CGpsConnection connection({}, DeferredOpen{});
    EXPECT_EQ(env.script->opens, 0) << "made without touching the port";
    connection.Cancel();
    connection.Open();
    EXPECT_EQ(env.script->opens, 1);
    EXPECT_EQ(Users(), 1);
    EXPECT_TRUE(env.script->written.empty());
    EXPECT_TRUE(env.prompts.messages.empty());

    // The cancel request ended with the opening.
    env.ScriptProductExchange();
    EXPECT_EQ(connection.RequestProduct(0), 0);
}

TEST(SharedPort, TheFirstLinkOpensTheStoredPortAndTheLastOneClosesIt)
{
    ScriptedLinkEnvironment env;
    env.settings.SetString("Settings", "Port", "COM3:");
    env.ScriptOpening();
    auto first = std::make_unique<CGpsLink>();
    EXPECT_EQ(env.openedNames, std::vector<std::string>{"COM3:"});
    EXPECT_EQ(Users(), 1);
    EXPECT_EQ(first->state(), LINK_OK);

    // A second link shares the port: no second open, but its own product exchange.
    env.ClearWritten();
    env.ScriptProductExchange();
    auto second = std::make_unique<CGpsLink>();
    EXPECT_EQ(env.script->opens, 1);
    EXPECT_EQ(Users(), 2);
    EXPECT_EQ(env.script->written, FrameBytes(254, {}) + Ack(255));

    first.reset();
    EXPECT_EQ(Users(), 1);
    EXPECT_TRUE(PortOpen());
    second.reset();
    EXPECT_EQ(Users(), 0);
    EXPECT_FALSE(PortOpen());
    EXPECT_TRUE(env.prompts.messages.empty());
}

TEST(SharedPort, WithoutASettingTheFirstPortIsUsed)
{
    ScriptedLinkEnvironment env;
    env.ScriptOpening();
    CGpsLink link;
    EXPECT_EQ(env.openedNames, std::vector<std::string>{"COM1:"});
}

TEST(SharedPort, OpeningReportsFlowControlAndWaitingBytes)
{
    ScriptedLinkEnvironment env;
    env.script->flowControl.dtrControl = 1;
    env.script->Reply(Bytes(512, 0x55));  // a receiver that was already talking
    env.ScriptProductExchange();
    CGpsLink link;
    ASSERT_EQ(env.prompts.messages.size(), 2u);
    EXPECT_EQ(env.prompts.messages[0],
              "fDtrControl: 1, fDsrSensitivity: 0, fRtsControl: 0, \nfOutxCtsFlow: 0, "
              "fOutxDsrFlow: 0");
    EXPECT_EQ(env.prompts.messages[1], "Received 512 Byte(s) at startup");
}

TEST(SharedPort, OnlyAFullStartupReadWaitsOutAQuietLine)
{
    struct Case {
        const char* legend;
        StartupRead startup;
        Bytes waiting;  // what a receiver sent before the opening, then it is quiet
        int fromMs;     // how long the opening takes on the port's clock
        int toMs;
        std::vector<std::string> messages;
    } cases[] = {
        {"full, quiet line", StartupRead::Full, {}, 1224, 1300, {}},
        {"until quiet, quiet line", StartupRead::UntilQuiet, {}, 50, 100, {}},
        {"until quiet, a receiver that was talking",
         StartupRead::UntilQuiet,
         Bytes(100, 0x55),
         51,
         100,
         {"Received 100 Byte(s) at startup"}},
    };
    for (const Case& c : cases) {
        ScriptedLinkEnvironment env;
        if (c.waiting.empty()) {
            env.ScriptOpening();
        } else {
            env.script->Reply(c.waiting);  // then the pause after it
            env.ScriptProductExchange();
        }
        auto start = env.script->now;
        CGpsLink link({}, c.startup);
        auto took = std::chrono::duration_cast<std::chrono::milliseconds>(env.script->now - start);
        EXPECT_GE(took.count(), c.fromMs) << c.legend;
        EXPECT_LE(took.count(), c.toMs) << c.legend;
        EXPECT_EQ(env.prompts.messages, c.messages) << c.legend;
        EXPECT_EQ(link.state(), LINK_OK) << c.legend << ": the product exchange follows";
    }
}

TEST(SharedPort, RefusedTimeoutsStopTheOpening)
{
    for (int failure : {1, 2}) {
        ScriptedLinkEnvironment env;
        env.script->timeoutResult = failure;
        CGpsLink link;
        EXPECT_EQ(link.state(), LINK_PORT_OPEN);
        EXPECT_EQ(
            env.prompts.messages,
            std::vector<std::string>{failure == 1 ? "!GetCommTimeouts " : "!SetCommTimeouts "});
        EXPECT_TRUE(env.script->written.empty());
    }
    EXPECT_EQ(Users(), 0);
}

TEST(SharedPort, AFailedFirstOpenStillCountsItsUser)
{
    ScriptedLinkEnvironment env;
    env.script->failOpen = true;
    auto first = std::make_unique<CGpsLink>();
    env.prompts.messages.clear();
    auto second = std::make_unique<CGpsLink>();  // takes the open path, and fails on writes
    EXPECT_EQ(env.script->opens, 1);
    EXPECT_EQ(second->state(), LINK_READY);
    EXPECT_EQ(env.prompts.messages, std::vector<std::string>{"Kommunikation zum GPS gestört"});
    first.reset();
    second.reset();
    EXPECT_EQ(Users(), 0);
}

TEST(SharedPort, AnUnpluggedAdapterIsOpenedAgainByTheNextCommand)
{
    ScriptedLinkEnvironment env;
    env.ScriptOpening();
    CGpsConnection documentConnection;
    env.ClearWritten();

    // The device goes away in the middle of a download.
    env.script->Reply(Ack(10));
    env.script->failReadAt = env.script->reads + 1;
    env.script->failErrno = ENODEV;
    EXPECT_EQ(documentConnection.DownloadWaypoints(), -2);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(Users(), 1);

    // The next command opens the port again, with the product exchange, and works.
    env.script->failReadAt = -1;
    env.prompts.messages.clear();
    env.ScriptOpening();
    env.script->Reply(Ack(10));
    env.script->Reply(FrameBytes(14, {0x0C, 0x07, 0xD1, 0x07, 0x0E, 0x00, 0x1E, 0x2D}));
    GpsTime time;
    EXPECT_EQ(documentConnection.ReadGpsTime(time), 0);
    EXPECT_EQ(env.script->opens, 2);
    EXPECT_EQ(time.year, 2001);
    EXPECT_TRUE(PortOpen());
    EXPECT_TRUE(env.prompts.messages.empty());
}

TEST(SharedPort, ADeviceThatGoesAwayMidTransferEndsItAtOnce)
{
    ScriptedLinkEnvironment env;
    env.ScriptOpening();
    CGpsConnection connection;
    env.script->Reply(Ack(10));
    env.script->Reply(FrameBytes(27, {200, 0}));
    env.script->failReadAt = env.script->reads + 4;  // while waiting for the first record
    env.script->failErrno = EIO;
    env.prompts.messages.clear();
    EXPECT_EQ(connection.DownloadWaypoints(), -4);
    EXPECT_EQ(env.prompts.messages, std::vector<std::string>{"Kommunikation zum GPS gestört"});
    EXPECT_FALSE(PortOpen());
}

TEST(SharedPort, TheLastLinkClosesThePortOnlyAfterTheExchangeThatHoldsIt)
{
    ScriptedLinkEnvironment env;
    env.ScriptOpening();
    auto link = std::make_unique<CGpsLink>();
    std::atomic<bool> closed{false};
    std::thread closer;
    {
        SharedPort::Lease lease = SharedPort::Instance().Borrow();
        ASSERT_TRUE(lease);
        closer = std::thread([&] {
            link.reset();
            closed = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(closed) << "the port went while an exchange held it";
        EXPECT_EQ(lease->Write(reinterpret_cast<const uint8_t*>("x"), 1), 1);
    }
    closer.join();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(PortOpen());
    EXPECT_EQ(Users(), 0);
}

}  // namespace
