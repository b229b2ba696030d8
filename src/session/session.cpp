#include "session/session.h"

#include <algorithm>
#include <system_error>

#include "base/numbers.h"
#include "base/sha256.h"
#include "comm/port_control.h"
#include "comm/wait.h"
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
    : Session(Folders::In(folder), errorReport) {}

Session::Session(Folders folders, ErrorReport& errorReport)
    : report_(errorReport),
      folders_(std::move(folders)),
      settings_(folders_.settingsFile),
      softFace_(SoftFace::Build(kLangEnglish)),
      tones_(kLangEnglish) {
  defaultDataPath_ = folders_.data / kDataFolderName / kDefaultDataFileName;
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
    const std::filesystem::path folder = folders_.data / kDataFolderName;
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
      std::filesystem::create_directories(folder, ec);
      if (ec) throw Failure(err::kPathFileAccess, "Data", folder.string() + ": " + ec.message());
    }
    defaultDataPath_ = folder / kDefaultDataFileName;
    currentDataPath_ = defaultDataPath_;
  });
}

void Session::NewFileSol() {
  report_.Guard("mdifrmMain->NewFileSol", [this] {
    report_.Guard("mdifrmMain->InitTempArray",
                  [this] { InitTempArray(folders_.shipped, IicDat_, TempIicDat_); });
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
  ClearHistory();
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
  currentDataPath_ = path;
  TakeImage();
  Notify([](SessionObserver& o) { o.DataPathChanged(); });
  return true;
}

void Session::LoadImage(const MemoryImage& image) {
  if (image.size() != IicDat_.size()) return;
  IicDat_ = image;
  TakeImage();
}

void Session::TakeImage() {
  SoftDisplay();
  ForgetEdits();
  ClearHistory();
  Notify([](SessionObserver& o) { o.DataReplaced(); });
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
  FoldInto(IicDat_, true);
  ForgetEdits();
}

void Session::FoldInto(MemoryImage& image, bool editsOnly) {
  if (editsOnly) {
    for (const int n : editedChannels_) {
      report_.Guard("modChMem->ChInfoToIicDat",
                    [&] { EncodeChannel(n, ChInfo_[n], tones_, image, report_); });
    }
    if (optionsEdited_) {
      report_.Guard("modSysSet->OptSelToSave", [&] { OptSelSaveSol(0, options_, image); });
    }
    if (unknownModelByte_) image.set(kModelAddress, *unknownModelByte_);
    return;
  }
  // A data file holds the model as decoded, whatever byte a radio image kept.
  if (unknownModelByte_) image.set(kModelAddress, static_cast<uint8_t>(modelPosition_));
  ChInfoSaveSol(0, ChInfo_, layout_, tones_, image, report_);
  report_.Guard("modSysSet->OptSelToSave", [&] { OptSelSaveSol(0, options_, image); });
}

MemoryImage Session::ImageAsSaved() {
  Notify([](SessionObserver& o) { o.AboutToFold(); });
  MemoryImage image = IicDat_;
  FoldInto(image, IsRadioImageFile(currentDataPath_));
  return image;
}

MemoryImage Session::HeldImage() const {
  MemoryImage image = IicDat_;
  if (unknownModelByte_) image.set(kModelAddress, *unknownModelByte_);
  return image;
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
  FoldInto(IicDat_, false);
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
  ClearHistory();
  Notify([](SessionObserver& o) { o.DataReplaced(); });
}

namespace {

// A transfer's target that the data never see: a copy of the image that a backup or a verify
// reads into, with the session's texts and report.
class ImageAside final : public TransferTarget {
 public:
  ImageAside(const MemoryImage& image, const SoftFace& texts, const BandLimits& band,
             const OptionValues& options, ErrorReport& report)
      : image_(image), texts_(texts), band_(band), options_(options), report_(report) {}
  MemoryImage& TransferImage() override { return image_; }
  void FoldEdits() override {}
  void ImageRead() override {}
  const SoftFace& TransferTexts() const override { return texts_; }
  const BandLimits& TransferBand() const override { return band_; }
  const OptionValues& TransferOptions() const override { return options_; }
  ErrorReport& TransferReport() override { return report_; }

 private:
  MemoryImage image_;
  const SoftFace& texts_;
  const BandLimits& band_;
  const OptionValues& options_;
  ErrorReport& report_;
};

constexpr const char* kTransferLabel = "frmCommun->cmdWrite_Click";

}  // namespace

bool Session::RunTransfer(TransferSetup& setup, bool reading, const AddressRanges& ranges,
                          TransferTarget& target, TransferOutcome& outcome) {
  TransferContext ctx{target,        setup.link,   setup.wait,
                      setup.list,    setup.port,   ranges,
                      comPort_,      setup.device, setup.showMemDat && &target == this,
                      setup.observer};
  return reading ? ReadTransfer(ctx, outcome) : WriteTransfer(ctx, outcome);
}

bool Session::ReadAside(TransferSetup& setup, int16_t start, int16_t end,
                        TransferOutcome& outcome) {
  ImageAside aside(IicDat_, softFace_, band_, options_, report_);
  return RunTransfer(setup, true, AddressRanges{start, end, start, end}, aside, outcome);
}

bool Session::Read(TransferSetup& setup) {
  const AddressRanges ranges = setup.ranges ? *setup.ranges : Ranges();
  TransferLogEntry entry = NewLogEntry(setup, "read", ranges.readStart, ranges.readEnd);
  lastBackup_.clear();
  TransferOutcome outcome;
  entry.ok = RunTransfer(setup, true, ranges, *this, outcome);
  // Every read that brought its range leaves the radio's bytes in the backups.
  if (entry.ok && setup.backup.value_or(true)) {
    entry.backup = Backup(entry.start, "read", ranges.readStart, ranges.readEnd, outcome.image);
    lastBackup_ = entry.backup;
  }
  LogTransfer(setup, entry, outcome);
  return entry.ok;
}

bool Session::Write(TransferSetup& setup) {
  const AddressRanges ranges = setup.ranges ? *setup.ranges : Ranges();
  const int16_t start = ranges.writeStart;
  const int16_t end = ranges.writeEnd;
  const auto entryOf = [&](const char* kind) { return NewLogEntry(setup, kind, start, end); };

  std::string backup;
  lastBackup_.clear();
  if (setup.backup.value_or(backupBeforeWrite_)) {
    // The radio's bytes of the write range are kept first; without them nothing is written.
    TransferLogEntry entry = entryOf("backup");
    TransferOutcome before;
    std::string why;
    if (!BackupFolderWritable(DataFolder())) {
      why = (DataFolder() / kBackupFolderName).string() + " cannot be written";
    } else if (!ReadAside(setup, start, end, before)) {
      why = "the radio's range " + HexText(static_cast<uint16_t>(start), 4) + "-" +
            HexText(static_cast<uint16_t>(end), 4) + " could not be read";
    } else {
      backup = Backup(entry.start, "before-write", start, end, before.image);
      lastBackup_ = backup;
      if (backup.empty()) why = "the backup file could not be written";
    }
    entry.ok = why.empty();
    entry.backup = backup;
    LogTransfer(setup, entry, before);
    if (!entry.ok) {
      TellUser(setup, BackupFailureText(why, language_));
      return false;
    }
  }

  TransferLogEntry entry = entryOf("write");
  entry.backup = backup;
  TransferOutcome sent;
  entry.ok = RunTransfer(setup, false, ranges, *this, sent);
  LogTransfer(setup, entry, sent);
  if (!entry.ok || !setup.verify.value_or(verifyAfterWrite_)) return entry.ok;

  // The written range read back and compared with the bytes sent, the write's stamp included.
  TransferLogEntry check = entryOf("verify");
  TransferOutcome readBack;
  std::vector<int> differences;
  const bool read = ReadAside(setup, start, end, readBack);
  if (read) differences = DifferingAddresses(sent.image, readBack.image, start, end);
  check.ok = read && differences.empty();
  check.verify = check.ok;
  LogTransfer(setup, check, readBack);
  if (!read) {
    TellUser(setup, VerifyFailureText({}, language_));
  } else if (!differences.empty()) {
    TellUser(setup, VerifyFailureText(differences, language_));
  }
  return check.ok;
}

TransferLogEntry Session::NewLogEntry(TransferSetup& setup, const char* kind, int start, int end) {
  TransferLogEntry entry;
  entry.start = setup.observer.LocalTime();
  entry.ms = setup.wait.NowMs();  // the duration once the transfer has ended
  entry.kind = kind;
  entry.rangeStart = start;
  entry.rangeEnd = end;
  return entry;
}

std::string Session::Backup(const std::tm& local, const std::string& kind, int start, int end,
                            const std::vector<uint8_t>& image) {
  std::string name;
  report_.Guard("modCommun->KeepBackup",
                [&] { name = KeepBackup(DataFolder(), local, kind, start, end, image); });
  return name;
}

void Session::LogTransfer(TransferSetup& setup, TransferLogEntry entry,
                          const TransferOutcome& outcome) {
  entry.ms = setup.wait.NowMs() - entry.ms;
  entry.port = setup.device.empty() ? std::to_string(comPort_) : setup.device;
  entry.device = setup.port.DeviceFor(comPort_, setup.device);
  entry.message = outcome.message;
  entry.retries = outcome.retries;
  entry.sha256 = Sha256Hex(outcome.image);
  report_.Guard("modCommun->TransferLog", [&] { AppendTransferLog(DataFolder(), entry); });
}

void Session::TellUser(TransferSetup& setup, const std::string& text) {
  report_.ShowNoteLine(kTransferLabel, text);
  setup.observer.TellUser(text);
}

void Session::SetBackupBeforeWrite(bool on) {
  backupBeforeWrite_ = on;
  report_.Guard("mdifrmMain->mnuBackupBeforeWrite_Click",
                [&] { settings_.WriteSetting("Setting", "BackupBeforeWrite", on ? "1" : "0"); });
}

void Session::SetVerifyAfterWrite(bool on) {
  verifyAfterWrite_ = on;
  report_.Guard("mdifrmMain->mnuVerifyAfterWrite_Click",
                [&] { settings_.WriteSetting("Setting", "VerifyAfterWrite", on ? "1" : "0"); });
}

void Session::ReadTransferSwitches() {
  backupBeforeWrite_ = settings_.ReadSetting("Setting", "BackupBeforeWrite", "0", 9) == "1";
  verifyAfterWrite_ = settings_.ReadSetting("Setting", "VerifyAfterWrite", "0", 9) == "1";
}

void Session::cboModel_Click(int position) {
  WillChange();
  report_.Guard("frmChMem->cboModel_Click", [&] {
    modelPosition_ = position >= 0 && position < kModelCount ? position : 0;
    IicDat_.set(kModelAddress, static_cast<uint8_t>(modelPosition_));
    unknownModelByte_.reset();
  });
}

void Session::cboFrequency_Click(int position) {
  if (bandEventsSuppressed_) return;
  // The custom range dialog's limits belong to the same step.
  BeginChange();
  WillChange();
  report_.Guard("frmChMem->cboFrequency_Click", [&] {
    if (position == kCustomBand) {
      if (windows_ != nullptr) windows_->OpenCustomRange();
    } else {
      band_ = BandOfPosition(position);
    }
    bandPosition_ = position;
    WriteBandToImage(band_, IicDat_);
  });
  EndChange();
}

void Session::SetCustomBand(const BandLimits& band) {
  WillChange();
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
  if (options_.OptSel.at(static_cast<std::size_t>(slot)) != value) WillChange();
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
  if (ChInfo_[n] != row) WillChange();
  ChInfo_[n] = row;
  editedChannels_.insert(n);
  Notify([n](SessionObserver& o) { o.ChannelChanged(n); });
}

void Session::DeleteChannel(int n) {
  WillChange();
  tq::DelOneChannel(n, ChInfo_, IicDat_, TempIicDat_);
  Notify([n](SessionObserver& o) { o.ChannelChanged(n); });
}

void Session::SaveDefaultChannel(int n) {
  const ChannelRow& row = ChInfo_[n];
  const int base = ChInfoKeyBase(settings_, language_);
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

// ---- history -----------------------------------------------------------------------------

Session::Snapshot Session::Capture() const {
  return Snapshot{IicDat_,         ChInfo_,        options_,
                  band_,           modelPosition_, bandPosition_,
                  editedChannels_, optionsEdited_, unknownModelByte_};
}

void Session::Restore(const Snapshot& snapshot) {
  restoring_ = true;
  IicDat_ = snapshot.image;
  ChInfo_ = snapshot.channels;
  options_ = snapshot.options;
  band_ = snapshot.band;
  modelPosition_ = snapshot.modelPosition;
  bandPosition_ = snapshot.bandPosition;
  editedChannels_ = snapshot.editedChannels;
  optionsEdited_ = snapshot.optionsEdited;
  unknownModelByte_ = snapshot.unknownModelByte;
  // The windows show the data anew; what they set while they do is not a change of its own.
  Notify([](SessionObserver& o) { o.DataReplaced(); });
  Notify([](SessionObserver& o) { o.ImageChanged(); });
  restoring_ = false;
  Notify([](SessionObserver& o) { o.HistoryChanged(); });
}

void Session::WillChange() {
  if (restoring_) return;
  if (changeDepth_ > 0 && stepKept_) return;
  stepKept_ = changeDepth_ > 0;
  undo_.push_back(Capture());
  if (undo_.size() > kHistorySteps) undo_.erase(undo_.begin());
  redo_.clear();
  Notify([](SessionObserver& o) { o.HistoryChanged(); });
}

void Session::BeginChange() {
  if (changeDepth_++ == 0) stepKept_ = false;
}

void Session::EndChange() {
  if (changeDepth_ > 0 && --changeDepth_ == 0) stepKept_ = false;
}

void Session::Undo() {
  if (undo_.empty() || restoring_) return;
  redo_.push_back(Capture());
  const Snapshot previous = std::move(undo_.back());
  undo_.pop_back();
  Restore(previous);
}

void Session::Redo() {
  if (redo_.empty() || restoring_) return;
  undo_.push_back(Capture());
  const Snapshot next = std::move(redo_.back());
  redo_.pop_back();
  Restore(next);
}

void Session::ClearHistory() {
  undo_.clear();
  redo_.clear();
  Notify([](SessionObserver& o) { o.HistoryChanged(); });
}

}  // namespace tq
