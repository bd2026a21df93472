#include <gtest/gtest.h>

#include "SimOptions.h"

namespace {

sim::ParseResult Parse(std::vector<std::string> args) {
    return sim::ParseSimArguments(args);
}

TEST(SimOptionsTest, DefaultsAreFourHeadsOnLoopback) {
    const auto result = Parse({});
    ASSERT_TRUE(result.config) << result.error;
    const sim::SimConfig& c = *result.config;
    EXPECT_EQ(c.installation.present, (std::array<bool, 4>{true, true, true, true}));
    EXPECT_EQ(c.installation.addresses,
              (std::array<std::string, 4>{"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5"}));
    EXPECT_EQ(c.port, 4040);
    EXPECT_TRUE(c.installation.orientation);
    EXPECT_FALSE(c.fast);
    EXPECT_FALSE(c.log);
    EXPECT_EQ(c.durationS, 0);
    EXPECT_EQ(c.faultEndS, 0) << "faults last the whole run";
    for (const auto& f : c.faults) EXPECT_FALSE(f.Any());
}

TEST(SimOptionsTest, OptionsAreApplied) {
    const auto result =
        Parse({"--heads", "l,ES", "--fast", "--log", "--no-orientation", "--duration", "2.5",
               "--port", "5050", "--serial", "XY98765", "--seed", "7", "--addresses",
               "127.1.0.1,127.1.0.2,127.1.0.3,127.1.0.4", "--fault-end", "7.5"});
    ASSERT_TRUE(result.config) << result.error;
    const sim::SimConfig& c = *result.config;
    EXPECT_EQ(c.installation.present, (std::array<bool, 4>{true, false, false, true}));
    EXPECT_TRUE(c.fast);
    EXPECT_TRUE(c.log);
    EXPECT_FALSE(c.installation.orientation);
    EXPECT_DOUBLE_EQ(c.durationS, 2.5);
    EXPECT_DOUBLE_EQ(c.faultEndS, 7.5);
    EXPECT_EQ(c.port, 5050);
    EXPECT_EQ(c.installation.serialNumber, "XY9876") << "six characters";
    EXPECT_EQ(c.seed, 7u);
    EXPECT_EQ(c.installation.addresses[3], "127.1.0.4");
}

TEST(SimOptionsTest, FaultsArePerHead) {
    const auto result =
        Parse({"--fault", "M:split=40", "--fault", "M:status/10", "--fault", "es:close-after=3",
               "--fault", "H:silent", "--fault", "L:delay=250", "--fault", "L:long/2"});
    ASSERT_TRUE(result.config) << result.error;
    const auto& f = result.config->faults;
    EXPECT_EQ(f[kHeadM].splitEvery, 1);
    EXPECT_EQ(f[kHeadM].splitPauseMs, 40);
    EXPECT_EQ(f[kHeadM].statusEvery, 10);
    EXPECT_EQ(f[kHeadES].closeAfter, 3);
    EXPECT_EQ(f[kHeadH].silentEvery, 1);
    EXPECT_EQ(f[kHeadL].delayMs, 250);
    EXPECT_EQ(f[kHeadL].longEvery, 2);
    EXPECT_FALSE(f[kHeadH].shortEvery || f[kHeadH].splitEvery || f[kHeadH].closeAfter);
}

TEST(SimOptionsTest, FaultTexts) {
    struct Case {
        const char* text;
        bool ok;
    };
    const Case cases[] = {
        {"split", true},          {"split=0", true},
        {"split/4", true},        {"short", true},
        {"long", true},           {"wrong-kind/7", true},
        {"status", true},         {"silent/1", true},
        {"close-after=1", true},  {"delay=0", true},
        {"close-after=0", false}, {"close-after", false},
        {"delay", false},         {"delay=-5", false},
        {"delay=5ms", false},     {"short=3", false},
        {"silent/0", false},      {"silent/x", false},
        {"explode", false},       {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        sim::HeadFaults faults;
        std::string error;
        EXPECT_EQ(sim::ParseFault(c.text, faults, error), c.ok);
        EXPECT_EQ(error.empty(), c.ok) << error;
    }
}

TEST(SimOptionsTest, BadCommandLinesAreRefusedWithAMessage) {
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--heads", "L,X"}, "unknown head 'X'"},
        {{"--heads", ""}, "names no head"},
        {{"--fault", "Q:split"}, "HEAD:KIND"},
        {{"--fault", "split"}, "HEAD:KIND"},
        {{"--port", "0"}, "--port"},
        {{"--port", "70000"}, "--port"},
        {{"--duration", "soon"}, "--duration"},
        {{"--duration"}, "needs a value"},
        {{"--fault-end", "0"}, "--fault-end"},
        {{"--fault-end", "-3"}, "--fault-end"},
        {{"--fault-end", "later"}, "--fault-end"},
        {{"--addresses", "127.0.0.2,127.0.0.3"}, "four addresses"},
        {{"--addresses", "127.0.0.2,127.0.0.3,127.0.0.256,127.0.0.5"}, "not an IPv4"},
        {{"--frobnicate"}, "unknown option"},
        {{"--addresses", "10.0.0.2,127.0.0.3,127.0.0.4,127.0.0.5"}, "not a loopback address"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto result = Parse(c.args);
        EXPECT_FALSE(result.config);
        EXPECT_NE(result.error.find(c.message), std::string::npos) << result.error;
    }
}

TEST(SimOptionsTest, RemoteAddressesNeedAllowRemote) {
    const std::vector<std::string> addresses = {"--addresses",
                                                "192.168.0.2,127.0.0.3,127.0.0.4,127.0.0.5"};
    EXPECT_FALSE(Parse(addresses).config);
    auto allowed = addresses;
    allowed.push_back("--allow-remote");
    EXPECT_TRUE(Parse(allowed).config);
    // An absent head's address is never bound, so it is not checked.
    auto absent = addresses;
    absent.insert(absent.end(), {"--heads", "M,H,ES"});
    EXPECT_TRUE(Parse(absent).config);
}

TEST(SimOptionsTest, LoopbackAddresses) {
    EXPECT_TRUE(sim::IsLoopbackAddress("127.0.0.1"));
    EXPECT_TRUE(sim::IsLoopbackAddress("127.255.3.4"));
    EXPECT_FALSE(sim::IsLoopbackAddress("128.0.0.1"));
    EXPECT_FALSE(sim::IsLoopbackAddress("1.127.0.0"));
    EXPECT_FALSE(sim::IsLoopbackAddress("127.0.0"));
    EXPECT_FALSE(sim::IsLoopbackAddress("127.0.0.1.5"));
    EXPECT_FALSE(sim::IsLoopbackAddress("localhost"));
}

TEST(SimOptionsTest, HelpIsAskedForAndListsEveryOption) {
    EXPECT_TRUE(Parse({"--fast", "--help"}).help);
    EXPECT_TRUE(Parse({"-h"}).help);
    const std::string usage = sim::SimUsage();
    for (const char* option : {"--heads",        "--addresses", "--port",
                               "--allow-remote", "--fast",      "--no-orientation",
                               "--serial",       "--seed",      "--fault",
                               "--log",          "--duration",  "--help",
                               "--fault-end",    "delay=",      "split",
                               "short",          "long",        "wrong-kind",
                               "status",         "silent",      "close-after="}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
