// `sonvara-cli acquire --gps`: the option and what the totals say of the GPS.

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "AcquireReport.h"

namespace {

TEST(AcquireGpsTest, TheGpsDeviceIsAnOption) {
    const cli::AcquireParse parsed =
        cli::ParseAcquireArguments({"--connect", "127.0.0.2", "--gps", "/dev/pts/3"});
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->gpsDevice, "/dev/pts/3");
    EXPECT_TRUE(cli::ParseAcquireArguments({"--connect", "127.0.0.2"}).options->gpsDevice.empty());
    EXPECT_EQ(cli::ParseAcquireArguments({"--connect", "127.0.0.2", "--gps"}).error,
              "--gps needs a value");
}

TEST(AcquireGpsTest, TotalsSayTheReadsAndTheLastPosition) {
    cli::AcquireTotals totals;
    totals.succeeded = true;
    EXPECT_EQ(cli::FormatTotalsText(totals).find("GPS"), std::string::npos);
    EXPECT_FALSE(nlohmann::json::parse(cli::FormatTotalsJson(totals)).contains("gps_reads"));
    totals.gps = true;
    totals.gpsReads = 12;
    totals.latitude = "54.19.2000 N";
    totals.longitude = "010.09.0000 E";
    const std::string text = cli::FormatTotalsText(totals);
    EXPECT_NE(text.find("\nGPS: 12 reads, last position 54.19.2000 N 010.09.0000 E\n"),
              std::string::npos)
        << text;
    const auto json = nlohmann::json::parse(cli::FormatTotalsJson(totals));
    EXPECT_EQ(json["gps_reads"], 12);
    EXPECT_EQ(json["latitude"], "54.19.2000 N");
    EXPECT_EQ(json["longitude"], "010.09.0000 E");
}

}  // namespace
