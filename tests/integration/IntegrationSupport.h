#pragma once
// The real document on the real Qt platform (headless) against simulated heads running in the
// same process. Every test passes a block number of its own: its heads listen on
// 127.77.<block>.2 .. 127.77.<block>.5, so tests can run side by side.

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "QtTestSupport.h"
#include "SimServer.h"
#include "document/CVantrelDoc.h"
#include "platform/qt/QtPlatform.h"

inline std::string BlockAddress(int block, int head) {
    return "127.77." + std::to_string(block) + "." + std::to_string(head + 2);
}

inline sim::SimConfig BlockConfig(int block) {
    sim::SimConfig config;
    for (int h = 0; h < kHeadCount; ++h) config.installation.addresses[h] = BlockAddress(block, h);
    config.fast = true;
    return config;
}

class Rig {
public:
    explicit Rig(const sim::SimConfig& config) : server(config) {
        QString error;
        started = server.Start(error);
        EXPECT_TRUE(started) << error.toStdString();
        platform.SetMessageSink([](const std::string& text) {
            ADD_FAILURE() << "unexpected message box: '" << text << "'";
        });
        doc = std::make_unique<CVantrelDoc>(platform);
    }
    ~Rig() {
        if (doc) doc->CloseDocument();
    }

    // "YES" in the Connect dialog with the address of head 0 of the block.
    void Connect(const std::string& address, int range = 50) {
        platform.SetConnectPreset(true, address);
        doc->range = doc->esRange = range;
        doc->BuildSwitchCommands();
        doc->ConnectToSonarHead();
    }
    bool RunUntil(const std::function<bool()>& done, int timeoutMs) {
        return ::RunUntil(done, timeoutMs);
    }

    SimServer server;
    bool started = false;
    QtPlatform platform{QtPlatform::Mode::Headless};
    std::unique_ptr<CVantrelDoc> doc;
};
