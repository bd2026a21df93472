#pragma once
// The one document: it owns the head table, the command blocks, the reply slots and the mode
// flags that every window tests, and it is where the road of a cycle reads top to bottom:
// OnReceive -> CycleComplete -> ValidateCycle -> StoreCycle. Its operations are split into
// files by concern (CVantrelDoc_Engine.cpp, ...). Everything here runs on the user-interface
// thread.

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/DocumentObserver.h"
#include "acquisition/HeadReturn.h"
#include "acquisition/HeadTable.h"
#include "acquisition/ReplyAssembler.h"
#include "acquisition/SwitchCommand.h"
#include "platform/Platform.h"

enum class EngineState { Idle, Discovering, Connecting, Polling };

class CVantrelDoc : public HeadSocketListener, public TimerListener {
public:
    explicit CVantrelDoc(Platform& platform);
    ~CVantrelDoc() override;
    CVantrelDoc(const CVantrelDoc&) = delete;
    CVantrelDoc& operator=(const CVantrelDoc&) = delete;

    // Resets every member to its initial value (the new-document step).
    void OnNewDocument();
    void SetObserver(DocumentObserver* newObserver);
    Platform& GetPlatform() { return platform; }

    // --- Head table and switch commands ---------------------------------------------------
    void InitSwitchCommands();
    void BuildSwitchCommands();
    void SetCommandByte(int head, std::uint8_t value);
    void SetHalfSelect(int head, std::uint8_t value);
    // Applies four presence flags: head count, display channels, system kind.
    void ConfigureHeads(const int present[kHeadCount]);

    // --- Head replies ------------------------------------------------------------------------
    // Classifies and applies one whole reply of head h (the bytes are copied into
    // receiveBuffer first). Returns the class it was given.
    ReplyClass ReceiveReply(int head, const std::uint8_t* data, int length);
    void DecodeSystemInfo();
    void StoreDataReply(int head, ReplyClass kind, const std::uint8_t* reply);
    // Reads each available head's header id and status; true when no status has a bit of
    // 0x7C set (the cycle is then counted as accepted).
    bool ValidateCycle();

    // --- Acquisition engine ------------------------------------------------------------------
    void ConnectHead(int head);
    void ConnectAll();
    void DisconnectAll();
    void Reconnect();
    void ConnectToSonarHead();
    void EnterRealTime(const std::string& address);
    void CycleComplete();
    void ReplyTimeout();
    void CloseDocument();
    EngineState State() const;

    void OnConnect(int headIndex, int errorCode) override;
    void OnReceive(int headIndex, int errorCode) override;
    void OnClose(int headIndex, int errorCode) override;
    void OnTimer(int timerId) override;

    // --- Hand-over to the ping history --------------------------------------------------------
    void StampCycleTime();
    void StoreCycle();

    // --- Core members ---------------------------------------------------------------------
    std::array<HeadEntry, kHeadCount> heads;
    std::int32_t currentHead = 0;
    std::int32_t headCount = kHeadCount;
    std::int32_t headPort = 4040;
    std::int32_t commandLength = kCommandLength;
    std::int32_t replyHeaderLength = kReplyHeaderLength;
    std::int32_t replyDataLength = kReplyDataLength;
    std::array<std::uint8_t, kReceiveBufferLength> receiveBuffer{};
    std::array<std::uint8_t, kSystemInfoLength> systemInfo{};
    std::array<std::uint8_t, kReplyHeaderLength> esSecondHeader{};
    std::string serialNumber;
    std::int32_t orientationPresent = 0;
    std::int32_t threeFrequencySystem = 0;
    std::int32_t twoFrequencySystem = 0;
    std::int32_t displayChannelA = kHeadL;
    std::int32_t displayChannelB = kHeadH;
    std::int32_t discoveryMode = 1;
    std::int32_t systemInfoReceived = 0;
    std::int32_t playbackMode = 0;
    std::int32_t noDataFlag = 1;
    std::int32_t acceptedCycleCount = 0;
    std::int32_t range = 50;
    std::int32_t rangeIndex = 9;
    std::int32_t esRange = 50;
    std::int32_t esRangeIndex = 9;
    std::int32_t units = 0;
    std::string iniPath;

    // --- Engine bookkeeping (not part of the stored state) ------------------------------------
    // Real time has been chosen in the Connect dialog (the engine is not idle).
    bool realTimeActive = false;
    // A data request has been sent since the last rebuild of the connections.
    bool pollingActive = false;
    // The document is closing: close notifications no longer reconnect.
    bool closing = false;
    std::int32_t rejectedCycleCount = 0;
    std::int32_t rebuildCount = 0;

private:
    void CreateSockets();
    void SendCommand(int head);
    void StartPolling();
    void AdvanceAfterSecondHalf();
    void RestartReplyTimer();

    Platform& platform;
    DocumentObserver defaultObserver;
    DocumentObserver* observer = &defaultObserver;
    std::array<ReplyAssembler, kHeadCount> assemblers;
};

// The document pointer: null until the application has created the document.
CVantrelDoc* TheDocument();
