#pragma once
// The simulated installation: one HeadServer per configured head, all sharing one scene.
// sonvara-headsim runs one; integration tests start one in-process on addresses of their own.

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>

#include "HeadServer.h"
#include "SimOptions.h"

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(const sim::SimConfig& config, QObject* parent = nullptr);
    ~SimServer() override;

    // Starts every head's server; false with a message when an address cannot be bound.
    // `log` receives one line per request when the configuration asks for logging. With a
    // fault end in the configuration the faults end that long after the start.
    bool Start(QString& error, HeadServer::LogSink log = {});

    // The head's protocol state (request and ping counters), or null when it is absent.
    const sim::SimHead* Head(int head) const { return heads[head].get(); }
    int ConnectionCount(int head) const;
    // The world the heads look at (to let it follow the simulated vessel before Start).
    sim::Scene& World() { return scene; }

Q_SIGNALS:
    // Every head answers without faults from now on.
    void FaultsEnded();

private:
    void EndFaults();

    sim::SimConfig config;
    sim::Scene scene;
    std::array<std::unique_ptr<sim::SimHead>, kHeadCount> heads;
    std::array<HeadServer*, kHeadCount> servers{};
    QTimer faultEnd;
};
