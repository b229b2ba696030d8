// The session: the one owner of the run's radio data (the image IicDat, its template TempIicDat,
// the channel table ChInfo, the option values, model and band, the data file's path) and of the
// preferences (language, texts, font, colours, lock, port number, address settings), with the
// start-up that fills them. Others read through const accessors and change them through the
// verbs, which keep the image and the channel table in step: a verb that replaces the image
// decodes it into the table and the options, a verb that exports it folds them back first.
// Every change announces itself to the subscribed SessionObservers.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/observers.h"
#include "base/settings_file.h"
#include "base/text_table.h"
#include "comm/transfer.h"
#include "editor/channel_grid.h"
#include "editor/part_fill.h"
#include "image/band.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "image/tone_table.h"
#include "options/option_codec.h"
#include "session/folders.h"
#include "session/transfer_records.h"

namespace tq {

// Fallback cell colours (Windows colour numbers, red in the low byte) for a settings file that
// lacks "DefColor" or "OverColor": white, and a light red for out-of-band frequencies.
inline constexpr int32_t kFallbackDefColor = 0xFFFFFF;
inline constexpr int32_t kFallbackOverColor = 0x99CCFF;

// The five address boxes of the communication window: the highest address of the memory grid
// and the read and write ranges.
enum class AddressBox { TableMax, ReadStart, ReadEnd, WriteStart, WriteEnd };
inline constexpr AddressBox kAddressBoxes[] = {AddressBox::TableMax, AddressBox::ReadStart,
                                               AddressBox::ReadEnd, AddressBox::WriteStart,
                                               AddressBox::WriteEnd};
// The box's control name ("txtReadStartAddr").
const char* AddressBoxName(AddressBox box);

// The changes of the session, each announced after it happened. Every notice has an empty
// default, so an observer overrides only what it follows.
class SessionObserver {
 public:
  virtual ~SessionObserver() = default;
  // The image was replaced as a whole (new data set, open, read) and model, band, channels and
  // options were decoded from it.
  virtual void DataReplaced() {}
  // The channel table and the options are about to be folded into the image (a save, a write,
  // the memory grid's stamp): an edit the user has not left yet is stored now.
  virtual void AboutToFold() {}
  // Channel n's row changed through an edit in the channel grid.
  virtual void ChannelChanged(int /*n*/) {}
  // An option value changed.
  virtual void OptionsChanged() {}
  // Bytes of the image changed in place (the date stamp of the memory grid's fill).
  virtual void ImageChanged() {}
  virtual void LockChanged(bool /*locked*/) {}
  virtual void PortChanged(int16_t /*port*/) {}
  // The data file's path changed (a new data set, open, save as).
  virtual void DataPathChanged() {}
  // A line was added to the error list at `index`.
  virtual void ReportAdded(const std::string& /*line*/, int /*index*/) {}
  // What Undo and Redo can do changed.
  virtual void HistoryChanged() {}
};

// The parts of start-up, and of the band selection, that belong to the windows and the serial
// port. The main window implements it; the command line starts without one and gets the data
// steps alone (no first-run detection, no port probe).
class SessionWindows {
 public:
  virtual ~SessionWindows() = default;
  // The system's locale identifier for the first-run detection (0x0804 is Chinese, PRC).
  virtual int SystemLocale() = 0;
  // Probes one port and answers whether it can be used (TestComPort).
  virtual bool TestComPort(int16_t port) = 0;
  // Probes every port and returns the lowest usable one, 0 when none (AutoSetPort).
  virtual int16_t AutoSetPort() = 0;
  // Puts the check mark on the language menu entry.
  virtual void CheckLanguageMenu(int16_t language) = 0;
  // Gives the main window its texts (SetSoftFace).
  virtual void SetSoftFace() = 0;
  // The channel window's own part of its initialisation, after the data part.
  virtual void InitChannelWindow() = 0;
  // Fills the memory grid (SetGridMemDat), then shows the channel window.
  virtual void SetGridMemDat() = 0;
  virtual void ShowChannelWindow() = 0;
  // The band list's "Custom" entry was chosen: the custom range dialog opens and may set the
  // band through SetCustomBand.
  virtual void OpenCustomRange() = 0;
};

// What a transfer brings besides the session: the link and its wait, the data list, the port
// control, and whom to tell of its progress.
struct TransferSetup {
  SerialLink& link;
  Wait& wait;
  DataList& list;
  PortControl& port;
  TransferObserver& observer;
  // Another range than the address boxes' (the command line's --start and --end).
  std::optional<AddressRanges> ranges;
  // A device path that replaces the port number's device (the command line's --port PATH).
  std::string device;
  bool showMemDat = false;
  // The command line's --backup / --no-backup and --verify, over the switches of the settings
  // file. `backup` also decides whether a read leaves its backup (it does unless told not to).
  std::optional<bool> backup;
  std::optional<bool> verify;
};

class Session final : public ChannelData, private TransferTarget, private ReportObserver {
 public:
  // Everything in `programFolder`.
  Session(std::filesystem::path programFolder, ErrorReport& report);
  Session(Folders folders, ErrorReport& report);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  void Subscribe(SessionObserver& observer);
  void Unsubscribe(SessionObserver& observer);

  // The start-up sequence, step by step in its fixed order; `windows` runs the windows' and the
  // port's steps and is kept for the band selection. A failing step is reported as
  // "mdifrmMain->Form_Load" and the rest are skipped. Returns false when a step failed.
  bool StartUp(SessionWindows* windows = nullptr);

  // ---- verbs on the radio data ----
  // Starts a new data set from the default image without asking (NewFileSol).
  void NewFileSol();
  // The user's new data set: the default data file path, then NewFileSol.
  void NewDataSet();
  // Loads a data file and refreshes the data from it (the core of OpenFile). On a failure the
  // report names "mdifrmMain->OpenFile", nothing changes and false is returned.
  bool OpenDataFile(const std::filesystem::path& path);
  // Takes `image` as the data, decoded as an opened file is; the path stays. An image of another
  // size is ignored.
  void LoadImage(const MemoryImage& image);
  // Folds the edits into the image and writes the current data file (SaveDatFile). A radio image
  // file (".bin") keeps the image as it is: only the channels and options edited since the data
  // were loaded reach it, so every other byte stays as the radio or the file held it.
  bool SaveDatFile();
  // Makes `path` the current data file and saves there.
  bool SaveAs(const std::filesystem::path& path);
  // The read and write transfers (cmdRead_Click, cmdWrite_Click) over the address boxes' ranges
  // and the port number, unless the setup names others. A read that brought every block ends in
  // one DataReplaced; a write folds the edits and stamps the image first.
  bool Read(TransferSetup& setup);
  bool Write(TransferSetup& setup);
  // The model and band selection written into the image (cboModel_Click, cboFrequency_Click).
  void cboModel_Click(int position);
  void cboFrequency_Click(int position);
  // The limits the custom range dialog settles on; the band selection that opened the dialog
  // writes them into the image when it closes.
  void SetCustomBand(const BandLimits& band);
  // The band position a new data set started from the custom range dialog keeps.
  void KeepCustomBandPosition();
  // Loads the option values stored in the settings file (OptNowDefSol mode 0); a failure throws.
  void LoadStoredOptions();
  // An option's value as its control shows it (OptSel of `slot`).
  void SetOption(int slot, int16_t value);
  // Folds the edits into the image, then stamps it with `local` (the memory grid's "Fill Gird");
  // a failure of the stamp is reported as "frmMemDat->cmdFillGrid_Click".
  void StampImage(const std::tm& local);
  // The memory grid and the partial fill edit the image's bytes in place: they work on this
  // image and the grid shows it.
  MemoryImage& EditableImage() noexcept { return IicDat_; }

  // ---- channel grid (ChannelData) ----
  const ChannelTable& Channels() const override { return ChInfo_; }
  const ChannelLayout& Layout() const override { return layout_; }
  const ToneTable& Tones() const override { return tones_; }
  const SoftFace& Texts() const override { return softFace_; }
  const BandLimits& Band() const override { return band_; }
  int32_t DefColor() const override { return defColor_; }
  int32_t OverColor() const override { return overColor_; }
  bool Locked() const override { return locked_; }
  ErrorReport& Report() const override { return report_; }
  void EditChannel(int n, const ChannelRow& row) override;
  void DeleteChannel(int n) override;
  void SaveDefaultChannel(int n) override;

  // ---- preferences ----
  // Locks or unlocks the interface; StoreLock keeps the state in the settings file, a failure
  // reported under `label`.
  // The history of changes to channels, options, model and band. Every change made through the
  // session's verbs is one step; BeginChange and EndChange make the changes between them (an
  // import, a paste, a move) one step. A new data set, an open or a read clears the history.
  bool CanUndo() const noexcept { return !undo_.empty(); }
  bool CanRedo() const noexcept { return !redo_.empty(); }
  void Undo();
  void Redo();
  void BeginChange() override;
  void EndChange() override;
  void ClearHistory();

  void SetLock(bool locked);
  void StoreLock(std::string_view label);
  // The port the transfers use: ChoosePort keeps it under "COM", SetPort only for the run (the
  // port dialog's Cancel gives back the port it opened with).
  void ChoosePort(int16_t port);
  void SetPort(int16_t port);
  // "Back up before writing" and "Verify after writing": kept in the settings file.
  void SetBackupBeforeWrite(bool on);
  void SetVerifyAfterWrite(bool on);
  bool BackupBeforeWrite() const { return backupBeforeWrite_; }
  bool VerifyAfterWrite() const { return verifyAfterWrite_; }
  // Where the backups and the transfer log are kept.
  std::filesystem::path DataFolder() const { return folders_.data; }
  // The file name of the backup the last read or write left in the backups folder; empty when
  // it left none.
  const std::string& LastBackup() const noexcept { return lastBackup_; }
  // The language of the next start: kept under "Language" (the running texts stay), a failure
  // reported as "mdifrmMain->SwiLangFace".
  void ChooseLanguage(int16_t language);
  // A change of an address box's text: the text is stored unchanged under its key of section
  // "Setting" ("ReadStartAddr" ...), and its hexadecimal value, reduced to signed 16 bits, becomes
  // the address. A text that is not hexadecimal (an empty one too) keeps the address as it was
  // and is reported under the box's label ("frmCommun->txtReadStartAddr_Change"). Returns
  // whether the address took the new value.
  bool AddressTextChanged(AddressBox box, const std::string& text);

  // ---- const accessors ----
  const MemoryImage& Image() const noexcept { return IicDat_; }
  // The image a save to the current file would write, open editors committed; the session's
  // own image is not changed.
  MemoryImage ImageAsSaved();
  // The bytes as the file or radio held them: the image with a model byte the program does not
  // know given back.
  MemoryImage HeldImage() const;
  const MemoryImage& Template() const noexcept { return TempIicDat_; }
  const OptionValues& Options() const noexcept { return options_; }
  int ModelPosition() const noexcept { return modelPosition_; }
  int BandPosition() const noexcept { return bandPosition_; }
  int16_t Language() const noexcept { return language_; }
  const std::string& FontName() const noexcept { return fontName_; }
  int16_t ComPort() const noexcept { return comPort_; }
  const std::string& AddressText(AddressBox box) const;
  int16_t AddressValue(AddressBox box) const;
  AddressRanges Ranges() const;
  // The addresses the partial fill remembers; start-up sets them to 0 and TableMaxAddr.
  PartFillAddresses& FillAddresses() noexcept { return fill_; }
  const SettingsFile& Settings() const noexcept { return settings_; }
  // The shipped defaults: the default image and the manuals.
  const std::filesystem::path& ProgramFolder() const noexcept { return folders_.shipped; }
  const Folders& Where() const noexcept { return folders_; }
  const std::filesystem::path& DefaultDataPath() const noexcept { return defaultDataPath_; }
  const std::filesystem::path& CurrentDataPath() const noexcept { return currentDataPath_; }

 private:
  // The steps of start-up, each a named call.
  // Copies the shipped settings file to the user's, when the user has none yet.
  void UserSettingsFromShipped();
  void GetSysLang();
  void ReadLanguage();
  void BuildTextTable();
  void ReadComPort();
  void AllocateImage();
  void ReadFonts();
  void ReadColours();
  void ReadAddresses();
  void InitProtocolScripts();
  void GenerateDatFolder();
  void InitChMem();
  void ReadChannelLock();
  bool ApplyAddressText(AddressBox box);

  // Folds the channel table and the option values into the image (SetConvIicDat).
  void SetConvIicDat();
  // Folds only the channels and options edited since the data were loaded; the rest of the image
  // stays byte for byte. Used while the data belong to a radio image file.
  void FoldEditsOnly();
  // Folds into `image` what a save folds: the edits alone, or the whole table and options.
  void FoldInto(MemoryImage& image, bool editsOnly);
  // The fold a save or a write makes: the edits alone for a radio image file, else all.
  void FoldForCurrentFile();
  // The data were replaced: nothing is edited yet.
  void ForgetEdits();
  // Refreshes the data from a replaced image: model, band, channels, options (SoftDisplay).
  void SoftDisplay();
  // The image was replaced: decode it, forget edits and history, tell the windows.
  void TakeImage();
  bool RunTransfer(TransferSetup& setup, bool reading, const AddressRanges& ranges,
                   TransferTarget& target, TransferOutcome& outcome);
  // Reads [start, end] of the radio into a copy of the image, which the data never see.
  bool ReadAside(TransferSetup& setup, int16_t start, int16_t end, TransferOutcome& outcome);
  // A backup of [start, end] of `image`; the file name, or empty after a report.
  std::string Backup(const std::tm& local, const std::string& kind, int start, int end,
                     const std::vector<uint8_t>& image);
  // A log entry of `kind` over [start, end] that starts now.
  TransferLogEntry NewLogEntry(TransferSetup& setup, const char* kind, int start, int end);
  // One line of the transfer log; a log that cannot be written is reported, nothing more.
  void LogTransfer(TransferSetup& setup, TransferLogEntry entry, const TransferOutcome& outcome);
  // Tells the user `text` and keeps it in the error list.
  void TellUser(TransferSetup& setup, const std::string& text);
  void ReadTransferSwitches();

  // TransferTarget
  MemoryImage& TransferImage() override { return IicDat_; }
  void FoldEdits() override { FoldForCurrentFile(); }
  void ImageRead() override;
  const SoftFace& TransferTexts() const override { return softFace_; }
  const BandLimits& TransferBand() const override { return band_; }
  const OptionValues& TransferOptions() const override { return options_; }
  ErrorReport& TransferReport() override { return report_; }

  template <typename Notice>
  void Notify(Notice notice) {
    observers_.Notify(notice);
  }
  // Every line of the error list reaches the observers.
  void LineAdded(const std::string& line, int index) override {
    Notify([&](SessionObserver& o) { o.ReportAdded(line, index); });
  }

  ErrorReport& report_;
  Folders folders_;
  SettingsFile settings_;
  Observers<SessionObserver> observers_;
  SessionWindows* windows_ = nullptr;
  int16_t language_ = kLangEnglish;
  SoftFace softFace_;
  MemoryImage IicDat_;
  MemoryImage TempIicDat_;
  ChannelLayout layout_;
  ChannelTable ChInfo_;
  ToneTable tones_;
  OptionValues options_;
  BandLimits band_;
  int modelPosition_ = 0;
  int bandPosition_ = kDefaultBand;
  bool bandEventsSuppressed_ = false;
  int16_t comPort_ = 1;
  std::string fontName_;
  // The five address boxes' texts and their values (signed 16-bit), in kAddressBoxes order.
  std::array<std::string, 5> addressTexts_ = {"1FFF", "0000", "1FFF", "0000", "1FFF"};
  std::array<int16_t, 5> addressValues_ = {0x1FFF, 0, 0x1FFF, 0, 0x1FFF};
  PartFillAddresses fill_;
  bool locked_ = false;
  int32_t defColor_ = kFallbackDefColor;
  int32_t overColor_ = kFallbackOverColor;
  std::filesystem::path defaultDataPath_;
  std::filesystem::path currentDataPath_;
  // Channels (1 to 16) and options edited since the data were loaded or last folded.
  std::set<int> editedChannels_;
  bool optionsEdited_ = false;
  bool backupBeforeWrite_ = false;
  bool verifyAfterWrite_ = false;
  // The model byte the data held when the decode set an unknown one to the first model.
  std::optional<uint8_t> unknownModelByte_;
  std::string lastBackup_;

  // What a step of the history gives back.
  struct Snapshot {
    MemoryImage image;
    ChannelTable channels;
    OptionValues options;
    BandLimits band;
    int modelPosition = 0;
    int bandPosition = 0;
    std::set<int> editedChannels;
    bool optionsEdited = false;
    std::optional<uint8_t> unknownModelByte;
  };
  static constexpr std::size_t kHistorySteps = 100;
  Snapshot Capture() const;
  void Restore(const Snapshot& snapshot);
  // Called before every change: keeps the state as it was, once per step.
  void WillChange();
  std::vector<Snapshot> undo_;
  std::vector<Snapshot> redo_;
  int changeDepth_ = 0;
  bool stepKept_ = false;
  bool restoring_ = false;
};

}  // namespace tq
