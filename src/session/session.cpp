#include "session/session.h"

#include <algorithm>
#include <system_error>

#include "base/numbers.h"
#include "comm/port_control.h"
#include "files/data_file.h"
#include "files/image_file.h"
#include "image/channel_codec.h"
#include "image/stamp.h"

namespace tq {
namespace {
constexpr const char* kShowLock = "ShowLock";
constexpr const char* kShowNo = "ShowNo";
constexpr const char* kChInfoSection = "ChInfo";
}  // namespace

Session::Session(std::filesystem::path folder, ErrorReport& errorReport)
    : report_(errorReport),
      programFolder_(std::move(folder)),
      settings_(programFolder_ / kSettingsFileName),
      softFace_(SoftFace::Build(kLangEnglish)),
      tones_(kLangEnglish) {
  defaultDataPath_ = programFolder_ / kDataFolderName / kDefaultDataFileName;
  currentDataPath_ = defaultDataPath_;
  report_.Subscribe(*this);
}

Session::~Session() {
  report_.Unsubscribe(*this);
}

void Session::Subscribe(SessionObserver& observer) {
  observers_.Subscribe(observer);
}

void Session::Unsubscribe(SessionObserver& observer) {
  observers_.Unsubscribe(observer);
}

void Session::GenerateDatFolder() {
  report_.Guard("mdifrmMain->GenerateDatFolder", [this] {
    const std::filesystem::path folder = programFolder_ / kDataFolderName;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      std::filesystem::create_directory(folder, ec);
      if (ec) throw Failure(err::kPathFileAccess, "Data", folder.string() + ": " + ec.message());
    }
    defaultDataPath_ = folder / kDefaultDataFileName;
    currentDataPath_ = defaultDataPath_;
  });
}

void Session::NewFileSol() {
  report_.Guard("mdifrmMain->NewFileSol", [this] {
    report_.Guard("mdifrmMain->InitTempArray",
                  [this] { InitTempArray(programFolder_, IicDat_, TempIicDat_); });
    ChInfoSaveSol(1, ChInfo_, layout_, tones_, IicDat_, report_);
    report_.Guard("modSysSet->OptNowDefSol", [this] {
      OptNowDefSol(0, language_, options_, settings_);
      OptNowDefSol(2, language_, options_, settings_);
    });
    cboModel_Click(modelPosition_);
    cboFrequency_Click(bandPosition_);
  });
  // The stored option values replaced the image's: they are the new data's edits.
  ForgetEdits();
  optionsEdited_ = true;
  Notify([](SessionObserver& o) { o.DataReplaced(); });
}

void Session::NewDataSet() {
  currentDataPath_ = defaultDataPath_;
  Notify([](SessionObserver& o) { o.DataPathChanged(); });
  NewFileSol();
}

bool Session::OpenDataFile(const std::filesystem::path& path) {
  const bool loaded = report_.Guard("mdifrmMain->OpenFile", [&] {
    // A file that fails to load leaves the image as it was.
    MemoryImage loadedImage = IicDat_;
    LoadImageFile(path, loadedImage);
    IicDat_ = loadedImage;
  });
  if (!loaded) return false;
  SoftDisplay();
  ForgetEdits();
  currentDataPath_ = path;
  Notify([](SessionObserver& o) { o.DataReplaced(); });
  Notify([](SessionObserver& o) { o.DataPathChanged(); });
  return true;
}

bool Session::SaveDatFile() {
  FoldForCurrentFile();
  return report_.Guard("mdifrmMain->SaveDatFile",
                       [this] { SaveImageFile(currentDataPath_, IicDat_); });
}

void Session::FoldForCurrentFile() {
  if (IsRadioImageFile(currentDataPath_)) {
    FoldEditsOnly();
  } else {
    SetConvIicDat();
  }
}

void Session::FoldEditsOnly() {
  // Open editors commit first; their commits are edits too.
  Notify([](SessionObserver& o) { o.AboutToFold(); });
  for (const int n : editedChannels_) {
    report_.Guard("modChMem->ChInfoToIicDat",
                  [&] { EncodeChannel(n, ChInfo_[n], tones_, IicDat_, report_); });
  }
  if (optionsEdited_) {
    report_.Guard("modSysSet->OptSelToSave", [this] { OptSelSaveSol(0, options_, IicDat_); });
  }
  if (unknownModelByte_) IicDat_.set(kModelAddress, *unknownModelByte_);
  ForgetEdits();
}

void Session::ForgetEdits() {
  editedChannels_.clear();
  optionsEdited_ = false;
}

bool Session::SaveAs(const std::filesystem::path& path) {
  currentDataPath_ = path;
  const bool saved = SaveDatFile();
  Notify([](SessionObserver& o) { o.DataPathChanged(); });
  return saved;
}

void Session::SetConvIicDat() {
  Notify([](SessionObserver& o) { o.AboutToFold(); });
  // A data file holds the model as decoded, whatever byte a radio image kept.
  if (unknownModelByte_) IicDat_.set(kModelAddress, static_cast<uint8_t>(modelPosition_));
  ChInfoSaveSol(0, ChInfo_, layout_, tones_, IicDat_, report_);
  report_.Guard("modSysSet->OptSelToSave", [this] { OptSelSaveSol(0, options_, IicDat_); });
}

void Session::SoftDisplay() {
  report_.Guard("modChMem->SoftDisplay", [this] {
    // A model byte the program does not know reads as the first model and is set to it; a radio
    // image file keeps the byte the radio held unless the user picks a model.
    const uint8_t modelByte = IicDat_.at(kModelAddress);
    modelPosition_ = ModelFromImage(IicDat_);
    unknownModelByte_.reset();
    if (IicDat_.at(kModelAddress) != modelByte) unknownModelByte_ = modelByte;
    bandEventsSuppressed_ = true;
    bandPosition_ = BandFromImage(IicDat_, band_);
    bandEventsSuppressed_ = false;
  });
  bandEventsSuppressed_ = false;
  ChInfoSaveSol(1, ChInfo_, layout_, tones_, IicDat_, report_);
  report_.Guard("modSysSet->SaveToOptSel", [this] { OptSelSaveSol(1, options_, IicDat_); });
}

void Session::ImageRead() {
  SoftDisplay();
  ForgetEdits();
  Notify([](SessionObserver& o) { o.DataReplaced(); });
}

bool Session::RunTransfer(TransferSetup& setup, bool reading) {
  TransferContext ctx{*this,         setup.link,   setup.wait,
                      setup.list,    setup.port,   setup.ranges ? *setup.ranges : Ranges(),
                      comPort_,      setup.device, setup.showMemDat,
                      setup.observer};
  return reading ? ReadTransfer(ctx) : WriteTransfer(ctx);
}

bool Session::Read(TransferSetup& setup) {
  return RunTransfer(setup, true);
}

bool Session::Write(TransferSetup& setup) {
  return RunTransfer(setup, false);
}

void Session::cboModel_Click(int position) {
  report_.Guard("frmChMem->cboModel_Click", [&] {
    modelPosition_ = position >= 0 && position < kModelCount ? position : 0;
    IicDat_.set(kModelAddress, static_cast<uint8_t>(modelPosition_));
    unknownModelByte_.reset();
  });
}

void Session::cboFrequency_Click(int position) {
  if (bandEventsSuppressed_) return;
  report_.Guard("frmChMem->cboFrequency_Click", [&] {
    if (position == kCustomBand) {
      if (windows_ != nullptr) windows_->OpenCustomRange();
    } else {
      band_ = BandOfPosition(position);
    }
    bandPosition_ = position;
    WriteBandToImage(band_, IicDat_);
  });
}

void Session::SetCustomBand(const BandLimits& band) {
  band_ = band;
}

void Session::KeepCustomBandPosition() {
  bandPosition_ = kCustomBand;
}

void Session::LoadStoredOptions() {
  OptNowDefSol(0, language_, options_, settings_);
  optionsEdited_ = true;
  Notify([](SessionObserver& o) { o.OptionsChanged(); });
}

void Session::SetOption(int slot, int16_t value) {
  options_.OptSel.at(static_cast<std::size_t>(slot)) = value;
  optionsEdited_ = true;
  Notify([](SessionObserver& o) { o.OptionsChanged(); });
}

void Session::StampImage(const std::tm& local) {
  SetConvIicDat();
  report_.Guard("frmMemDat->cmdFillGrid_Click", [&] { WriteComDat(IicDat_, local); });
  Notify([](SessionObserver& o) { o.ImageChanged(); });
}

void Session::EditChannel(int n, const ChannelRow& row) {
  ChInfo_[n] = row;
  editedChannels_.insert(n);
  Notify([n](SessionObserver& o) { o.ChannelChanged(n); });
}

void Session::DeleteChannel(int n) {
  tq::DelOneChannel(n, ChInfo_, IicDat_, TempIicDat_);
  Notify([n](SessionObserver& o) { o.ChannelChanged(n); });
}

void Session::SaveDefaultChannel(int n) {
  const ChannelRow& row = ChInfo_[n];
  const int base = ChInfoKeyBase(language_);
  auto& lists = layout_.fieldTexts;
  for (int f = 1; f <= layout_.ColCount; ++f) {
    if (f < 0 || f >= kFieldCount) {
      throw Failure(err::kIndexOutOfRange, "ChInfo", "field " + std::to_string(f));
    }
    const std::string value = std::to_string(row.field[static_cast<std::size_t>(f)]);
    if (lists.size() <= static_cast<std::size_t>(f)) lists.resize(static_cast<std::size_t>(f) + 1);
    auto& list = lists[static_cast<std::size_t>(f)];
    if (list.size() < 3) list.resize(3, "0");
    list[2] = value;
    settings_.WriteSetting(kChInfoSection, std::to_string(base + 200 + (f - 1) * 50 + 2), value);
  }
}

void Session::SetLock(bool locked) {
  locked_ = locked;
  Notify([locked](SessionObserver& o) { o.LockChanged(locked); });
}

void Session::StoreLock(std::string_view label) {
  report_.Guard(label, [this] {
    settings_.WriteSetting("Setting", "ChannelLock", locked_ ? kShowLock : kShowNo);
  });
}

void Session::SetPort(int16_t port) {
  comPort_ = port;
  Notify([port](SessionObserver& o) { o.PortChanged(port); });
}

void Session::ChoosePort(int16_t port) {
  SetPort(port);
  settings_.WriteSetting("Setting", "COM", std::to_string(port));
}

void Session::ChooseLanguage(int16_t language) {
  language_ = language;
  // The result of the write is not examined: the program closes in any case.
  report_.Guard("mdifrmMain->SwiLangFace",
                [&] { settings_.WriteSetting("Setting", "Language", std::to_string(language)); });
}

AddressRanges Session::Ranges() const {
  return AddressRanges{AddressValue(AddressBox::ReadStart), AddressValue(AddressBox::ReadEnd),
                       AddressValue(AddressBox::WriteStart), AddressValue(AddressBox::WriteEnd)};
}

}  // namespace tq
