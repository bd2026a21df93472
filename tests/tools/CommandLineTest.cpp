// The tools' command lines as CLI11 parses them: help and version for every program part,
// refused values and unknown options named in one line, and the options new to acquire.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AcquireReport.h"
#include "ImageOptions.h"
#include "InfoReport.h"
#include "SimOptions.h"

namespace {

// What a parser of one program part makes of a command line.
struct Outcome {
    bool run = false, help = false, version = false;
    std::string text, error;
};

using Parser = std::function<Outcome(const std::vector<std::string>&)>;

template <typename Parse>
Outcome From(const Parse& p, bool run) {
    return {run, p.help, p.version, p.text, p.error};
}

const std::vector<std::pair<const char*, Parser>>& Parsers() {
    static const std::vector<std::pair<const char*, Parser>> parsers = {
        {"sonvara-cli render",
         [](const auto& a) {
             const auto p = cli::ParseRenderArguments(a);
             return From(p, p.options.has_value());
         }},
        {"sonvara-cli info",
         [](const auto& a) {
             const auto p = cli::ParseInfoArguments(a);
             return From(p, p.options.has_value());
         }},
        {"sonvara-cli acquire",
         [](const auto& a) {
             const auto p = cli::ParseAcquireArguments(a);
             return From(p, p.options.has_value());
         }},
        {"sonvara-headsim",
         [](const auto& a) {
             const auto p = sim::ParseSimArguments(a);
             return From(p, p.config.has_value());
         }},
    };
    return parsers;
}

TEST(CommandLineTest, EveryPartHasHelpAndVersion) {
    for (const auto& [name, parse] : Parsers()) {
        SCOPED_TRACE(name);
        for (const char* flag : {"--help", "-h"}) {
            const Outcome help = parse({flag});
            EXPECT_TRUE(help.help);
            EXPECT_FALSE(help.run);
            EXPECT_NE(help.text.find(std::string("Usage: ") + name), std::string::npos)
                << help.text;
            EXPECT_NE(help.text.find("Exit status"), std::string::npos) << help.text;
        }
        const Outcome version = parse({"--version"});
        EXPECT_TRUE(version.version);
        // "NAME 0.1.0": the project's version, compiled in.
        EXPECT_EQ(version.text.rfind(std::string(name) + " ", 0), 0u) << version.text;
        EXPECT_NE(version.text.find_first_of("0123456789"), std::string::npos) << version.text;
        EXPECT_EQ(version.text.find("unknown"), std::string::npos) << version.text;
        EXPECT_EQ(version.text.back(), '\n');
    }
}

TEST(CommandLineTest, MistakesAreOneLineNamingTheOption) {
    struct Case {
        int parser;  // index into Parsers()
        std::vector<std::string> args;
        std::vector<const char*> named;  // every text must be in the message
    };
    const Case cases[] = {
        {0, {"x.svx", "--out", "d", "--width", "abc"}, {"--width", "abc"}},
        {0, {"x.svx", "--width", "abc"}, {"--width", "abc"}},
        {0, {"x.svx", "--out", "d", "--zoom=300"}, {"--zoom", "300"}},
        {0, {"x.svx", "--out", "d", "--bogus"}, {"unknown option '--bogus'"}},
        {1, {"x.svx", "--bogus=1"}, {"unknown option '--bogus=1'"}},
        {2, {"--connect", "notanaddress"}, {"--connect", "IPv4", "notanaddress"}},
        {2, {"--connect", "127.0.0.256"}, {"--connect"}},
        {2, {"--connect", "127.0.0.2", "--port", "0"}, {"--port", "0"}},
        {2, {"--connect", "127.0.0.2", "--port", "65536"}, {"--port"}},
        {2, {"--connect", "127.0.0.2", "--seconds", "inf"}, {"--seconds"}},
        {2, {"--connect", "127.0.0.2", "--port"}, {"--port needs a value"}},
        {3, {"--seed", "-3"}, {"--seed"}},
        {3, {"--heads", "L", "stray"}, {"unexpected argument 'stray'"}},
    };
    for (const Case& c : cases) {
        const auto& [name, parse] = Parsers()[c.parser];
        SCOPED_TRACE(std::string(name) + " " + c.args.back());
        const Outcome outcome = parse(c.args);
        EXPECT_FALSE(outcome.run);
        EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
        for (const char* text : c.named) {
            EXPECT_NE(outcome.error.find(text), std::string::npos) << outcome.error;
        }
    }
}

TEST(CommandLineTest, ValuesInEitherSpellingAndTheLastOneWins) {
    const auto render = cli::ParseRenderArguments(
        {"--width=640", "a.svx", "--out=img", "--zoom", "100", "--width", "800"});
    ASSERT_TRUE(render.options) << render.error;
    EXPECT_EQ(render.options->images.width, 800);
    EXPECT_EQ(render.options->images.zoomMode, 1);
    EXPECT_EQ(render.options->outDir, "img");

    const auto acquire =
        cli::ParseAcquireArguments({"--connect=127.0.0.9", "--port", "5050", "--seconds", "1.5"});
    ASSERT_TRUE(acquire.options) << acquire.error;
    EXPECT_EQ(acquire.options->address, "127.0.0.9");
    EXPECT_EQ(acquire.options->port, 5050);
    EXPECT_DOUBLE_EQ(acquire.options->seconds, 1.5);
    EXPECT_EQ(cli::ParseAcquireArguments({"--connect", "127.0.0.2"}).options->port, 4040);

    // Faults are the one option that adds up instead.
    const auto sim = sim::ParseSimArguments({"--fault", "M:silent", "--fault=H:short"});
    ASSERT_TRUE(sim.config) << sim.error;
    EXPECT_EQ(sim.config->faults[kHeadM].silentEvery, 1);
    EXPECT_EQ(sim.config->faults[kHeadH].shortEvery, 1);
}

TEST(CommandLineTest, OnlyDottedIpv4AddressesConnect) {
    EXPECT_TRUE(cli::IsIpv4Address("127.0.0.2"));
    EXPECT_TRUE(cli::IsIpv4Address("10.20.30.40"));
    for (const char* bad : {"notanaddress", "127.0.0", "127.0.0.2.3", "::1", "localhost", ""}) {
        EXPECT_FALSE(cli::IsIpv4Address(bad)) << bad;
    }
}

}  // namespace
