// The three programs' command lines and the tools' messages and exit statuses, run as
// processes the way an operator or a script meets them.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "ProcessSupport.h"

namespace {

QString Address(int block, int head) {
    return QString("127.77.%1.%2").arg(block).arg(head + 2);
}

QString Addresses(int block) {
    return QStringList{Address(block, 0), Address(block, 1), Address(block, 2), Address(block, 3)}
        .join(',');
}

// No display of any kind: a program that tried to open a window would fail.
QProcessEnvironment WithoutDisplay() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    return environment;
}

// One program run of a table: the program, its arguments and a text its output must hold.
struct Case {
    QString program;
    QStringList args;
    const char* text;
};
const QString app = SONVARA_APP_PATH, sim = SONVARA_HEADSIM_PATH, cli = SONVARA_CLI_PATH;

TEST(CommandLinesProcessTest, HelpAndVersionOfEveryProgramAndCommand) {
    const Case cases[] = {
        {app, {"--help"}, "--screenshot"},
        {app, {"-h"}, "--settings"},
        {app, {"--version"}, "sonvara 0.1.0"},
        {sim, {"--help"}, "--allow-remote"},
        {sim, {"--version"}, "sonvara-headsim 0.1.0"},
        {cli, {"--help"}, "render"},
        {cli, {"--version"}, "sonvara-cli 0.1.0"},
        {cli, {"acquire", "--help"}, "--port N"},
        {cli, {"acquire", "--version"}, "sonvara-cli acquire 0.1.0"},
        {cli, {"info", "--help"}, "--records"},
        {cli, {"info", "--version"}, "sonvara-cli info 0.1.0"},
        {cli, {"render", "--help"}, "--every N"},
        {cli, {"render", "-h"}, "Exit status"},
        {cli, {"render", "--version"}, "sonvara-cli render 0.1.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.program + " " + c.args.join(' ')).toStdString());
        const ProgramRun run = RunWith(c.program, c.args, WithoutDisplay());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(c.text)) << run.out.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(CommandLinesProcessTest, MistakesExitWithTwoAndOneLineNamingTheOption) {
    const Case cases[] = {
        {app, {"--bogus"}, "bogus"},
        {app, {"--after", "soon"}, "--after"},
        {sim, {"--port", "abc"}, "--port"},
        {sim, {"--bogus"}, "unknown option '--bogus'"},
        {cli, {"--bogus"}, "unknown option '--bogus'"},
        {cli, {"render", "x.svx", "--width", "abc"}, "--width"},
        {cli, {"render", "x.svx", "--out", "d", "--side=left"}, "--side"},
        {cli, {"info", "x.svx", "--bogus"}, "unknown option '--bogus'"},
        {cli, {"acquire", "--connect", "notanaddress"}, "--connect"},
        {cli, {"acquire", "--connect", "127.0.0.2", "--port", "99999"}, "--port"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.program + " " + c.args.join(' ')).toStdString());
        const ProgramRun run = RunWith(c.program, c.args, WithoutDisplay());
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(c.text)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
    }
}

class ToolFilesProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile empty(Path("empty.svx"));
        ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
        QFile text(Path("notes.txt"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("not a data file");
        ASSERT_EQ(::mkfifo(Path("pipe.svx").toLocal8Bit().constData(), 0600), 0);
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ToolFilesProcessTest, EachFileProblemIsOnePlainLineAndExitsWithOne) {
    struct Case {
        QStringList args;
        QString line;  // the whole of standard error
    };
    const QString missing = Path("missing.svx"), pipe = Path("pipe.svx");
    const QString empty = Path("empty.svx"), out = Path("images");
    const Case cases[] = {
        {{"info", missing}, "sonvara-cli: cannot open " + missing + ": No such file or directory"},
        {{"render", missing, "--out", out},
         "sonvara-cli: cannot open " + missing + ": No such file or directory"},
        // A FIFO without a writer would block the reader for ever.
        {{"info", pipe}, "sonvara-cli: " + pipe + " is not a regular file"},
        {{"render", pipe, "--out", out}, "sonvara-cli: " + pipe + " is not a regular file"},
        {{"info", "/dev/null"}, "sonvara-cli: /dev/null is not a regular file"},
        {{"render", dir.path(), "--out", out},
         "sonvara-cli: " + dir.path() + " is a directory, not a data file"},
        {{"info", dir.path()}, "sonvara-cli: " + dir.path() + " is a directory, not a data file"},
        {{"render", empty, "--out", out}, "sonvara-cli: " + empty + " holds no record"},
        {{"render", Path("notes.txt"), "--out", out},
         "sonvara-cli: " + Path("notes.txt") + " is neither a data file (.svx) nor an XTF file (.xtf)"},
        {{"render", empty, "--out", Path("notes.txt")},
         "sonvara-cli: cannot create the directory " + Path("notes.txt") + ": Not a directory"},
        {{"acquire", "--connect", "127.0.0.2", "--record", "/dev/full"},
         "sonvara-cli: cannot record to /dev/full: not a regular file"},
    };
    const bool fanExisted = QFile::exists("/dev/fan");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ProgramRun run = RunProgram(SONVARA_CLI_PATH, c.args, 20000);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), (c.line + "\n").toStdString());
    }
    if (!fanExisted) {
        EXPECT_FALSE(QFile::exists("/dev/fan")) << "no event file beside a device";
    }
}

TEST_F(ToolFilesProcessTest, InfoOfAFileWithoutRecordsSaysSoAndExitsWithOne) {
    const ProgramRun text = RunProgram(SONVARA_CLI_PATH, {"info", Path("empty.svx")});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_TRUE(text.out.contains("0 records")) << text.out.toStdString();
    EXPECT_TRUE(text.out.contains("no record")) << text.out.toStdString();
    EXPECT_FALSE(text.out.contains("not damaged")) << text.out.toStdString();
    EXPECT_TRUE(text.err.contains("holds no record")) << text.err.toStdString();
    const ProgramRun json = RunProgram(SONVARA_CLI_PATH, {"info", Path("empty.svx"), "--json"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(QJsonDocument::fromJson(json.out).object()["records"].toInt(-1), 0);
}

TEST_F(ToolFilesProcessTest, NonAsciiFileNamesComeOutWholeInTheJson) {
    Simulator sim({"--fast", "--addresses", Addresses(41), "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString file = Path(QString::fromUtf8("Überfahrt-ø-海.svx"));
    const ProgramRun acquire =
        RunProgram(SONVARA_CLI_PATH, {"acquire", "--connect", Address(41, 0), "--cycles", "3",
                                      "--seconds", "20", "--record", file, "--json"});
    ASSERT_EQ(acquire.exitCode, 0) << acquire.err.toStdString();
    const QJsonObject totals = QJsonDocument::fromJson(acquire.out).object();
    EXPECT_GE(totals["recorded"].toInt(), 3) << acquire.out.toStdString();
    EXPECT_TRUE(totals["recording_stopped"].isNull()) << acquire.out.toStdString();

    const ProgramRun info = RunProgram(SONVARA_CLI_PATH, {"info", file, "--json"});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject summary = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(summary["file"].toString(), file);
    EXPECT_EQ(summary["records"].toInt(), totals["recorded"].toInt());
}

TEST_F(ToolFilesProcessTest, AFileThatCannotGrowStopsTheRecordingAndExitsWithOne) {
    Simulator sim({"--fast", "--addresses", Addresses(42), "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const QString file = Path("full.svx");
    // The file may not grow past 40000 bytes, as on a full disk: the write after the third
    // four-head record (11072 bytes each) fails.
    const ProgramRun run = RunWith(SONVARA_CLI_PATH,
                                   {"acquire", "--connect", Address(42, 0), "--cycles", "10",
                                    "--seconds", "20", "--record", file, "--json"},
                                   QProcessEnvironment::systemEnvironment(), [] {
                                       std::signal(SIGXFSZ, SIG_IGN);
                                       const rlimit limit{40000, 40000};
                                       ::setrlimit(RLIMIT_FSIZE, &limit);
                                   });
    EXPECT_EQ(run.exitCode, 1) << run.err.toStdString();
    const QJsonObject totals = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(totals["recorded"].toInt(), 3) << run.out.toStdString();
    EXPECT_TRUE(totals["recording_stopped"].toString().contains("File too large"))
        << run.out.toStdString();
    EXPECT_TRUE(run.err.contains("recording to " + file.toLocal8Bit() + " stopped after 3"))
        << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("WARNING")) << "no message-box text in the tool";
    const ProgramRun info = RunProgram(SONVARA_CLI_PATH, {"info", file, "--json"});
    EXPECT_EQ(info.exitCode, 0) << "the file ends on a whole record";
    EXPECT_EQ(QJsonDocument::fromJson(info.out).object()["records"].toInt(), 3);
}

TEST(CommandLinesProcessTest, AcquireReachesHeadsOnAnotherPort) {
    Simulator sim({"--fast", "--addresses", Addresses(43), "--port", "4141", "--duration", "60"});
    ASSERT_TRUE(sim.WaitReady()) << sim.error.toStdString();
    const ProgramRun run =
        RunProgram(SONVARA_CLI_PATH, {"acquire", "--connect", Address(43, 0), "--port", "4141",
                                      "--cycles", "5", "--seconds", "20", "--json"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_GE(QJsonDocument::fromJson(run.out).object()["accepted"].toInt(), 5);
}

TEST(CommandLinesProcessTest, SimulatorThatCannotListenExitsWithOne) {
    Simulator first({"--fast", "--addresses", Addresses(44), "--duration", "60"});
    ASSERT_TRUE(first.WaitReady()) << first.error.toStdString();
    const ProgramRun second =
        RunProgram(SONVARA_HEADSIM_PATH, {"--addresses", Addresses(44), "--duration", "5"}, 20000);
    EXPECT_EQ(second.exitCode, 1) << second.err.toStdString();
    EXPECT_EQ(second.err.count('\n'), 1) << second.err.toStdString();
}

}  // namespace
