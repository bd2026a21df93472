#pragma once
// A GPS reader for the document's tests: its ports exist when listed, and reads decode the
// queued text at once on the caller's thread.

#include <set>
#include <string>
#include <vector>

#include "gps/GpsPortLink.h"

// A reader whose ports exist when listed; reads decode the queued text at once.
class FakeLink : public GpsPortLink {
public:
    explicit FakeLink(GpsState& state) : state(state) {}
    bool Probe(const std::string& device) override {
        probes.push_back(device);
        return present.count(device) != 0 && busy.count(device) == 0;
    }
    GpsOpenResult Open(const std::string& device, const GpsLineSettings& s) override {
        opened.push_back(device);
        settings = s;
        if (present.count(device) == 0) return GpsOpenResult::NotAvailable;
        return refuseSettings ? GpsOpenResult::SettingsRefused : GpsOpenResult::Opened;
    }
    void Close() override { ++closes; }
    void Purge() override { ++purges; }
    void RequestRead(const GpsDecodeContext& context) override {
        ++requests;
        lastContext = context;
        state.DecodeRead(queued.data(), queued.size(), context);
        queued.clear();
    }

    GpsState& state;
    std::set<std::string> present, busy;
    bool refuseSettings = false;
    std::vector<std::string> probes, opened;
    GpsLineSettings settings;
    GpsDecodeContext lastContext;
    std::string queued;
    int closes = 0, purges = 0, requests = 0;
};
