#include "files/document.h"

#include <system_error>

#include "base/numbers.h"
#include "files/data_file.h"
#include "image/channel_codec.h"

namespace tq {

Document::Document(std::filesystem::path folder, ErrorReport& errorReport)
    : report(errorReport),
      programFolder(std::move(folder)),
      settings(programFolder / kSettingsFileName),
      softFace(SoftFace::Build(kLangEnglish)),
      tones(kLangEnglish) {
  defaultDataPath = programFolder / kDataFolderName / kDefaultDataFileName;
  currentDataPath = defaultDataPath;
}

void Document::GenerateDatFolder() {
  report.Guard("mdifrmMain->GenerateDatFolder", [this] {
    const std::filesystem::path folder = programFolder / kDataFolderName;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      std::filesystem::create_directory(folder, ec);
      if (ec) throw Failure(err::kPathFileAccess, "Data", folder.string() + ": " + ec.message());
    }
    defaultDataPath = folder / kDefaultDataFileName;
    currentDataPath = defaultDataPath;
  });
}

void Document::NewFileSol() {
  report.Guard("mdifrmMain->NewFileSol", [this] {
    report.Guard("mdifrmMain->InitTempArray",
                 [this] { InitTempArray(programFolder, IicDat, TempIicDat); });
    ChInfoSaveSol(1, ChInfo, layout, tones, IicDat, report);
    report.Guard("modSysSet->OptNowDefSol", [this] {
      OptNowDefSol(0, language, options, settings);
      OptNowDefSol(2, language, options, settings);
    });
    cboModel_Click(modelPosition);
    cboFrequency_Click(bandPosition);
  });
}

bool Document::OpenDataFile(const std::filesystem::path& path) {
  const bool loaded = report.Guard("mdifrmMain->OpenFile", [&] { LoadDataFile(path, IicDat); });
  if (!loaded) return false;
  SoftDisplay();
  currentDataPath = path;
  return true;
}

bool Document::SaveDatFile() {
  SetConvIicDat();
  return report.Guard("mdifrmMain->SaveDatFile", [this] { SaveDataFile(currentDataPath, IicDat); });
}

void Document::SetConvIicDat() {
  ChInfoSaveSol(0, ChInfo, layout, tones, IicDat, report);
  report.Guard("modSysSet->OptSelToSave", [this] { OptSelSaveSol(0, options, IicDat); });
}

void Document::SoftDisplay() {
  report.Guard("modChMem->SoftDisplay", [this] {
    modelPosition = ModelFromImage(IicDat);
    bandEventsSuppressed = true;
    bandPosition = BandFromImage(IicDat, band);
    bandEventsSuppressed = false;
  });
  bandEventsSuppressed = false;
  ChInfoSaveSol(1, ChInfo, layout, tones, IicDat, report);
  report.Guard("modSysSet->SaveToOptSel", [this] { OptSelSaveSol(1, options, IicDat); });
}

void Document::cboModel_Click(int position) {
  report.Guard("frmChMem->cboModel_Click", [&] {
    modelPosition = position >= 0 && position < kModelCount ? position : 0;
    IicDat.set(kModelAddress, static_cast<uint8_t>(modelPosition));
  });
}

void Document::cboFrequency_Click(int position) {
  if (bandEventsSuppressed) return;
  report.Guard("frmChMem->cboFrequency_Click", [&] {
    if (position == kCustomBand) {
      if (openCustomRange) openCustomRange();
    } else {
      band = BandOfPosition(position);
    }
    bandPosition = position;
    WriteBandToImage(band, IicDat);
  });
}

}  // namespace tq
