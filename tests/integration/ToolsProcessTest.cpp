// sonvara-headsim and sonvara-cli as programs, the way scripts/run and an operator use them.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include "ProcessSupport.h"
#include "QtTestSupport.h"
#include "acquisition/SwitchCommand.h"

namespace {

QString Address(int block, int head) {
    return QString("127.77.%1.%2").arg(block).arg(head + 2);
}

QString Addresses(int block) {
    return QStringList{Address(block, 0), Address(block, 1), Address(block, 2), Address(block, 3)}
        .join(',');
}

TEST(ToolsProcessTest, CliAcquiresTwentyCyclesFromASimulatorProcess) {
    Simulator sim({"--fast", "--addresses", Addresses(21), "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const ProgramRun run = RunProgram(
        SONVARA_CLI_PATH,
        {"acquire", "--connect", Address(21, 0), "--cycles", "20", "--json", "--seconds", "30"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Standard output holds one JSON object and nothing else.
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(run.out, &parseError);
    ASSERT_EQ(parseError.error, QJsonParseError::NoError) << run.out.toStdString();
    ASSERT_TRUE(json.isObject());
    EXPECT_EQ(run.out.count('\n'), 1);
    const QJsonObject totals = json.object();
    EXPECT_GE(totals["accepted"].toInt(), 20);
    EXPECT_EQ(totals["rejected"].toInt(), 0);
    EXPECT_EQ(totals["reconnects"].toInt(), 0);
    EXPECT_GT(totals["seconds"].toDouble(), 0.0);
    EXPECT_TRUE(totals["reached"].toBool());
    EXPECT_EQ(totals["heads"].toArray().size(), 4);

    // The simulator stops cleanly on SIGTERM.
    sim.process.terminate();
    ASSERT_TRUE(sim.process.waitForFinished(5000));
    EXPECT_EQ(sim.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sim.process.exitCode(), 0);
}

TEST(ToolsProcessTest, CliFailsWhenNoInstallationAnswers) {
    const ProgramRun run = RunProgram(
        SONVARA_CLI_PATH,
        {"acquire", "--connect", Address(22, 0), "--cycles", "5", "--seconds", "1", "--json"});
    EXPECT_EQ(run.exitCode, 1);
    const QJsonObject totals = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(totals["accepted"].toInt(), 0);
    EXPECT_FALSE(totals["reached"].toBool());
    EXPECT_TRUE(totals["heads"].toArray().isEmpty());
}

TEST(ToolsProcessTest, CliCommandLineMistakesExitWithTwo) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* text;
    };
    const Case cases[] = {
        {{}, 2, "Commands:"},
        {{"frobnicate"}, 2, "unknown command"},
        {{"acquire"}, 2, "--connect ADDRESS is required"},
        {{"acquire", "--connect", "127.0.0.2", "--gain", "99"}, 2, "--gain"},
        {{"--help"}, 0, "acquire"},
        {{"acquire", "--help"}, 0, "--cycles"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, c.args, 10000);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_TRUE((run.out + run.err).contains(c.text)) << (run.out + run.err).toStdString();
    }
}

TEST(ToolsProcessTest, SimulatorRefusesRemoteAddressesAndBadOptions) {
    struct Case {
        QStringList args;
        const char* text;
    };
    const Case cases[] = {
        {{"--addresses", "10.1.2.3,127.77.23.3,127.77.23.4,127.77.23.5"}, "not a loopback"},
        {{"--fault", "L:explode"}, "unknown fault"},
        {{"--heads", "Q"}, "unknown head"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ProgramRun run = RunProgram(SONVARA_HEADSIM_PATH, c.args, 10000);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.text)) << run.err.toStdString();
    }
    const ProgramRun help = RunProgram(SONVARA_HEADSIM_PATH, {"--help"}, 10000);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--allow-remote"));
}

TEST(ToolsProcessTest, SimulatorStopsByItselfAfterItsDuration) {
    const ProgramRun run = RunProgram(SONVARA_HEADSIM_PATH,
                                      {"--addresses", Addresses(24), "--duration", "0.3"}, 10000);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains("stopped"));
}

TEST(ToolsProcessTest, SimulatorLogsRequestsWithTheirDeviations) {
    Simulator sim({"--fast", "--log", "--heads", "M", "--addresses", Addresses(25)});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    QTcpSocket head;
    head.connectToHost(Address(25, kHeadM), 4040);
    ASSERT_TRUE(head.waitForConnected(5000));
    QByteArray request(128, '\0');
    request[0] = char(0xFE);
    request[1] = char(switchcmd::kDataRequest);
    request[10] = char(0x10);
    request[50] = char(0x10);
    request[52] = char(1);
    request[127] = char(0x00);  // the end byte is missing
    head.write(request);
    ASSERT_TRUE(RunUntil([&] { return head.bytesAvailable() >= 1128; }, 5000));
    QByteArray log;
    ASSERT_TRUE(RunUntil(
        [&] {
            log += sim.process.readAllStandardOutput();
            return log.contains('\n');
        },
        5000));
    EXPECT_TRUE(log.contains("M cmd 0x44 half 0x10")) << log.toStdString();
    EXPECT_TRUE(log.contains("end byte 0x00")) << log.toStdString();
}

}  // namespace
