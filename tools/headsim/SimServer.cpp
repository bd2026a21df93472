#include "SimServer.h"

SimServer::SimServer(const sim::SimConfig& simConfig, QObject* parent)
    : QObject(parent), config(simConfig), scene(simConfig.seed) {
    for (int h = 0; h < kHeadCount; ++h) {
        if (!config.installation.present[h]) continue;
        heads[h] = std::make_unique<sim::SimHead>(h, config.installation, scene, config.faults[h],
                                                  config.fast);
    }
}

SimServer::~SimServer() {
    // The servers refer to the heads: they go first.
    for (HeadServer*& server : servers) {
        delete server;
        server = nullptr;
    }
}

bool SimServer::Start(QString& error, HeadServer::LogSink log) {
    for (int h = 0; h < kHeadCount; ++h) {
        if (!heads[h]) continue;
        servers[h] = new HeadServer(*heads[h], config.log ? log : HeadServer::LogSink{}, this);
        const QString address = QString::fromStdString(config.installation.addresses[h]);
        if (!servers[h]->Listen(address, config.port, error)) {
            error = QString(HeadLabel(h)) + " head: " + error;
            return false;
        }
    }
    if (config.faultEndS > 0) {
        faultEnd.setSingleShot(true);
        faultEnd.setTimerType(Qt::PreciseTimer);
        connect(&faultEnd, &QTimer::timeout, this, &SimServer::EndFaults);
        faultEnd.start(static_cast<int>(config.faultEndS * 1000));
    }
    return true;
}

void SimServer::EndFaults() {
    for (auto& head : heads) {
        if (head) head->EndFaults();
    }
    Q_EMIT FaultsEnded();
}

int SimServer::ConnectionCount(int head) const {
    return servers[head] ? servers[head]->ConnectionCount() : 0;
}
