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
#include "files/settings_file.h"
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

struct Document {
  Document(std::filesystem::path programFolder, ErrorReport& report);

  // The data steps of start-up, in order: language and text table, image allocation, colours,
  // data folder, tone list, channel layout, empty channel table, model and band lists, and a new
  // data set. A failing step is reported as "mdifrmMain->Form_Load" and the rest are skipped.
  // Returns false when a step failed.
  bool StartUp();

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

  // Prepares the data folder and the default data file path (GenerateDatFolder).
  void GenerateDatFolder();

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
  int32_t defColor = kFallbackDefColor;
  int32_t overColor = kFallbackOverColor;
  std::filesystem::path defaultDataPath;
  std::filesystem::path currentDataPath;
};

}  // namespace tq
