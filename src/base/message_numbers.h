// The message numbers of the interface text table that the program uses by name: each is an
// index into the text table of the running language (SoftFace).
#pragma once

namespace tq::msg {

// Main window.
inline constexpr int kPrint = 8;  // the toolbar's and the channel window's "Print"
inline constexpr int kTitle = 16;
inline constexpr int kLockChannels = 47;  // "Lock Channel Interface"
inline constexpr int kLanguageSwitched = 68;
inline constexpr int kNotice = 70;  // the title of every message box
inline constexpr int kExit = 73;
inline constexpr int kClearAll = 74;
inline constexpr int kCommunicationFailed = 79;
inline constexpr int kSaveChanged = 82;
inline constexpr int kWrongFile = 83;
inline constexpr int kFileName = 85;
inline constexpr int kSaveFailed = 86;
inline constexpr int kReady = 94;
inline constexpr int kLocked = 116;
inline constexpr int kNeverWritten = 179;

// Port dialog.
inline constexpr int kPortCaption = 60;
inline constexpr int kPortFrame = 61;
inline constexpr int kPortLabel = 62;
inline constexpr int kPortOk = 63;
inline constexpr int kPortCancel = 64;

// Communication window.
inline constexpr int kRead = 100;
inline constexpr int kWrite = 101;
inline constexpr int kCommunCaption = 102;
inline constexpr int kProcess = 156;
inline constexpr int kNoReply = 175;

// Channel window and its right-button menu.
inline constexpr int kPrinting = 105;
inline constexpr int kPrintFailed = 106;
inline constexpr int kDeleteChannel = 110;
inline constexpr int kDeleteAll = 112;
inline constexpr int kSaveDefault = 113;
inline constexpr int kOpenChannel = 114;
inline constexpr int kOptionsFrame = 200;
inline constexpr int kChannelsTitle = 302;
inline constexpr int kModelName = 356;
inline constexpr int kModelFrame = 370;
inline constexpr int kModelLabel = 371;
inline constexpr int kBandLabel = 372;
inline constexpr int kCustomBand = 373;

// Custom range dialog.
inline constexpr int kCustomCaption = 374;
inline constexpr int kCustomMin = 375;
inline constexpr int kCustomMax = 376;
inline constexpr int kCustomOk = 377;
inline constexpr int kCustomCancel = 378;

}  // namespace tq::msg
