#pragma once
// Command identifiers of menus, tool bar, accelerators and context menus. The numbers are the
// program's own resource identifiers; menus, settings and tests refer to them.

enum CommandId : int {
    kCmdNone = 0,
    // File
    kCmdConnectToSonarHead = 32858,
    kCmdNewDocument = 57600,
    kCmdPlayback = 57601,
    kCmdRecentFile = 57616,
    kCmdRecordData = 32807,
    kCmdStopRecording = 32808,
    kCmdSettingsChangeAlarm = 32854,
    kCmdSaveScreen = 32782,
    kCmdExit = 57665,
    // View
    kCmdClearScreen = 32772,
    kCmdGrid = 32774,
    kCmdZoomCycle = 32777,
    kCmdHold = 32778,
    kCmdReversePlayback = 32863,
    kCmdBitmapView = 32864,
    kCmdRestoreImage = 32818,
    kCmdFillScreen = 41045,
    kCmdZoom100 = 41046,
    kCmdZoom200 = 41047,
    kCmdPortOnly = 32796,
    kCmdStbdOnly = 32798,
    kCmdBothSides = 32800,
    kCmdStatusBar = 59393,
    kCmdToolBar = 59392,
    kCmdFilePlaybackBar = 32809,
    kCmdShowRange = 32851,
    kCmdShowMarkShadow = 32814,
    kCmdMetric = 32834,
    kCmdImperial = 32836,
    kCmdVerticalBlending = 32837,
    kCmdColorIndicator = 32861,
    kCmdGridTextLarge = 32872,
    kCmdGridTextMedium = 32873,
    kCmdGridTextSmall = 32874,
    kCmdColorTableFirst = 32891,  // ten tables: 32891..32900
    kCmdColorTableLast = 32900,
    kCmdCustomPalette = 41130,  // "Custom &Palette...": the way to the palette editor
    // Pointer nudges of the side-scan views
    kCmdNudgeLeft = 32785,
    kCmdNudgeRight = 32786,
    kCmdNudgeUp = 32787,
    kCmdNudgeDown = 32788,
    // Communication
    kCmdReconnect = 32803,
    kCmdDiagnostics = 32801,
    // GPS
    kCmdShowGpsTrack = 32794,
    kCmdGpsPortSettings = 32792,
    kCmdSpeedCorrection = 32806,
    kCmdEraseGpsTracks = 32856,
    kCmdTrackZoomIn = 32832,
    kCmdTrackZoomOut = 32833,
    kCmdGpsEnabled = 32875,
    kCmdConvertUtcToLocal = 32876,
    kCmdSyncWithGpsTime = 32877,
    // Events
    kCmdEnableEventInput = 32846,
    kCmdHoldWhenAdding = 32867,
    kCmdHideEventMarker = 32844,
    kCmdAutoEventPopup = 32847,
    kCmdEventReview = 32848,
    // Measure
    kCmdDrawPlusMark = 32805,
    kCmdMeasureHeight = 32839,
    kCmdMeasureRange = 32812,
    kCmdMeasureDistance = 32804,
    kCmdClearMarks = 32813,
    // Options
    kCmdOrientationFilters = 41051,
    kCmdTransmitEnable = 41052,
    // Sonar windows and layout
    kCmdWindowL = 32910,
    kCmdWindowM = 32912,
    kCmdWindowH = 32914,
    kCmdWindowES = 32916,
    kCmdWindowOrientation = 32917,
    kCmdWindowHistory = 32921,
    kCmdDefaultLayout = 41050,
    kCmdVerticalScroll = 41044,
    kCmdToggleDib = 41049,
    // File > Export
    kCmdExportXtf = 41201,
    kCmdExportGeoTiff = 41202,
    kCmdExportKmz = 41203,
    kCmdExportTrack = 41204,
    kCmdExportEvents = 41205,
    // Help
    kCmdBeamCoverage = 32857,
    kCmdAbout = 57664,
    kCmdHotKeys = 32878,
    // Acquisition settings (tool bar and keys)
    kCmdIncreaseRange = 32791,
    kCmdDecreaseRange = 32793,
    kCmdIncreaseGain = 32795,
    kCmdDecreaseGain = 32797,
};
