#pragma once
// sonvara-headsim and sonvara-cli as processes: a simulator that stops when the test ends, and
// a program run to its end with its exit code and output.

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>

#include "QtTestSupport.h"

// A simulator process that stops when the test ends.
class Simulator {
public:
    explicit Simulator(QStringList args) {
        process.start(SONVARA_HEADSIM_PATH, args);
        EXPECT_TRUE(process.waitForStarted(5000));
    }
    ~Simulator() {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(5000);
    }
    // Waits for the "ready" line on standard error.
    bool WaitReady() {
        return RunUntil(
                   [this] {
                       error += process.readAllStandardError();
                       return error.contains("ready") || process.state() == QProcess::NotRunning;
                   },
                   10000) &&
               error.contains("ready");
    }
    // The device of the simulated GPS ("GPS on PATH" on standard error); empty without one.
    QString GpsDevice() const {
        return QRegularExpression("GPS on (\\S+)").match(QString::fromUtf8(error)).captured(1);
    }
    QProcess process;
    QByteArray error;
};

struct ProgramRun {
    int exitCode = -1;
    QByteArray out, err;
};

// A program run to its end, with the environment given and a hook in the child before it
// starts; a program still running after timeoutMs is killed and the test fails.
inline ProgramRun RunWith(const QString& program, const QStringList& args,
                          const QProcessEnvironment& environment,
                          std::function<void()> inChild = {}, int timeoutMs = 60000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (inChild) process.setChildProcessModifier(inChild);
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " " << args.join(' ').toStdString()
                      << " did not finish in time";
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline ProgramRun RunProgram(const QString& program, const QStringList& args,
                             int timeoutMs = 60000) {
    return RunWith(program, args, QProcessEnvironment::systemEnvironment(), {}, timeoutMs);
}
