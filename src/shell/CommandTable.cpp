#include "shell/CommandTable.h"

#include "shell/CommandIds.h"

void CommandTable::Add(int id, Handler handler, Update update) {
    commands[id] = Entry{std::move(handler), std::move(update)};
}

void CommandTable::Remove(int id) { commands.erase(id); }

CommandState CommandTable::State(int id) const {
    const auto it = commands.find(id);
    if (it == commands.end() || !it->second.handler) return CommandState{false, false, {}};
    return it->second.update ? it->second.update() : CommandState{};
}

bool CommandTable::Execute(int id) const {
    const auto it = commands.find(id);
    if (it == commands.end() || !it->second.handler || !State(id).enabled) return false;
    it->second.handler();
    return true;
}

const CommandTable& CommandRouter::TableFor(int id) const {
    if (view && view->Has(id)) return *view;
    return frame;
}

const std::vector<Accelerator>& AcceleratorTable() {
    static const std::vector<Accelerator> table = {
        {"C", kCmdClearScreen},         {"Ctrl+N", kCmdConnectToSonarHead},
        {"Up", kCmdNudgeUp},            {"Down", kCmdNudgeDown},
        {"Left", kCmdNudgeLeft},        {"Right", kCmdNudgeRight},
        {"Ctrl+O", kCmdPlayback},       {"Ctrl+S", kCmdRecordData},
        {"+", kCmdTrackZoomIn},         {"=", kCmdTrackZoomIn},
        {"-", kCmdTrackZoomOut},        {"H", kCmdHold},
        {"R", kCmdRestoreImage},        {"Ctrl+Z", kCmdStopRecording},
        {"Z", kCmdZoomCycle},
    };
    return table;
}

const std::vector<HotKeyRow>& HotKeyRows() {
    static const std::vector<HotKeyRow> rows = {
        {"Connect to sonar head", "Ctrl + N",
         "Establish a Ethernet connection between the sonar head and the control computer."},
        {"Hold", "H", "Display on hold"},
        {"Clear the Screen", "C", ""},
        {"Clear", "C", ""},
    };
    return rows;
}
