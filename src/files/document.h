// The document: the run's shared radio data and the operations that replace or fold it. The
// image is the one store of radio data; the channel table and option values are views of it,
// rebuilt after every load and folded back before every save or write. Windows receive the
// document; nothing else holds radio data.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "base/error_report.h"
#include "base/text_table.h"
#include "comm/protocol.h"
#include "editor/part_fill.h"
#include "base/settings_file.h"
#include "image/band.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "image/tone_table.h"
#include "options/option_codec.h"

namespace tq {

// Fallback cell colours (Windows colour numbers, red in the low byte) for a settings file that
// lacks "DefColor" or "OverColor": white, and a light red for out-of-band frequencies.
inline constexpr int32_t kFallbackDefColor = 0xFFFFFF;
inline constexpr int32_t kFallbackOverColor = 0x99CCFF;

// The parts of start-up that belong to the windows and the serial port; the command line leaves
// them empty and gets the data steps alone.
struct StartUpHooks {
  // First-run detection: asks the system's locale identifier (0x0804 is Chinese, PRC).
  bool firstRunDetection = false;
  std::function<int()> systemLocale;
  // Probes one port (TestComPort) and answers whether it can be used; picks the lowest usable
  // port and returns it, 0 when none (AutoSetPort). Without them no port is probed.
  std::function<bool(int16_t port)> testComPort;
  std::function<int16_t()> autoSetPort;
  // Puts the check mark on the language menu entry.
  std::function<void(int16_t language)> checkLanguageMenu;
  // Gives the main window its texts (SetSoftFace).
  std::function<void()> setSoftFace;
  // The channel window's own part of its initialisation, after the data part.
  std::function<void()> initChannelWindow;
  // Shows the new data set in the channel window (grid and option controls).
  std::function<void()> showNewData;
  // Fills the memory grid (SetGridMemDat) and shows the channel window.
  std::function<void()> setGridMemDat;
  std::function<void()> showChannelWindow;
  // Applies the stored lock state.
  std::function<void(bool locked)> applyLock;
};

// The five address boxes of the communication window: the highest address of the memory grid
// and the read and write ranges.
enum class AddressBox { TableMax, ReadStart, ReadEnd, WriteStart, WriteEnd };
inline constexpr AddressBox kAddressBoxes[] = {AddressBox::TableMax, AddressBox::ReadStart,
                                               AddressBox::ReadEnd, AddressBox::WriteStart,
                                               AddressBox::WriteEnd};
// The box's control name ("txtReadStartAddr").
const char* AddressBoxName(AddressBox box);

struct Document {
  Document(std::filesystem::path programFolder, ErrorReport& report);

  // The start-up sequence, step by step in its fixed order; the hooks run the windows' and the
  // port's steps. A failing step is reported as "mdifrmMain->Form_Load" and the rest are
  // skipped. Returns false when a step failed.
  bool StartUp(const StartUpHooks& hooks = {});

  // The steps of start-up, each a named call.
  void GetSysLang(const StartUpHooks& hooks);
  void ReadLanguage();
  void BuildTextTable();
  void ReadComPort(const StartUpHooks& hooks);
  void AllocateImage();
  void ReadFonts();
  void ReadColours();
  void ReadAddresses();
  void InitProtocolScripts();
  void InitChMem(const StartUpHooks& hooks);
  void ReadChannelLock(const StartUpHooks& hooks);

  // Starts a new data set from the default image without asking (NewFileSol).
  void NewFileSol();
  // Loads a data file and refreshes the data from it (the core of OpenFile). On a failure the
  // report names "mdifrmMain->OpenFile", the data are not refreshed and false is returned.
  bool OpenDataFile(const std::filesystem::path& path);
  // Folds the edits into the image and writes the current data file (SaveDatFile).
  bool SaveDatFile();
  // Folds the channel table and the option values into the image (SetConvIicDat).
  void SetConvIicDat();
  // Refreshes the data from a replaced image: model, band, channels, options (SoftDisplay).
  void SoftDisplay();

  // The model and band selection written into the image (cboModel_Click, cboFrequency_Click).
  void cboModel_Click(int position);
  void cboFrequency_Click(int position);

  // A change of an address box's text: the text is stored unchanged under its key of section
  // "Setting" ("ReadStartAddr" ...), and its hexadecimal value, reduced to signed 16 bits, becomes
  // the address. A text that is not hexadecimal (an empty one too) keeps the address as it was
  // and is reported under the box's label ("frmCommun->txtReadStartAddr_Change"). Returns
  // whether the address took the new value.
  bool AddressTextChanged(AddressBox box, const std::string& text);
  std::string& AddressText(AddressBox box);
  int16_t& AddressValue(AddressBox box);

  // Prepares the data folder and the default data file path (GenerateDatFolder).
  void GenerateDatFolder();
  // Reads the address from the box's current text, with the rule of AddressTextChanged.
  bool ApplyAddressText(AddressBox box);

  // Called when the band list's "Custom" entry is chosen; the window opens the custom range
  // dialog here, which sets `band`. Without it the limits stay as they are.
  std::function<void()> openCustomRange;

  ErrorReport& report;
  std::filesystem::path programFolder;
  SettingsFile settings;
  int16_t language = kLangEnglish;
  SoftFace softFace;
  MemoryImage IicDat;
  MemoryImage TempIicDat;
  ChannelLayout layout;
  ChannelTable ChInfo;
  ToneTable tones;
  OptionValues options;
  BandLimits band;
  int modelPosition = 0;
  int bandPosition = kDefaultBand;
  bool bandEventsSuppressed = false;
  int16_t ComPort = 1;
  std::string fontName;
  // The five address texts of the communication window and their values (signed 16-bit).
  std::string tableMaxAddrText = "1FFF", readStartAddrText = "0000", readEndAddrText = "1FFF",
              writeStartAddrText = "0000", writeEndAddrText = "1FFF";
  int16_t TableMaxAddr = 0x1FFF, ReadStartAddr = 0, ReadEndAddr = 0x1FFF, WriteStartAddr = 0,
          WriteEndAddr = 0x1FFF;
  // The addresses the partial fill remembers; start-up sets them to 0 and TableMaxAddr.
  PartFillAddresses fill;
  ScriptLists scripts;
  // "ShowLock" when the interface is locked, anything else when not.
  std::string channelLock = "ShowNo";
  int32_t defColor = kFallbackDefColor;
  int32_t overColor = kFallbackOverColor;
  std::filesystem::path defaultDataPath;
  std::filesystem::path currentDataPath;
};

}  // namespace tq
