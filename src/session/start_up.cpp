// The start-up sequence of the program: every step in its fixed order, the first-run detection,
// and the reading of each setting that start-up takes.
#include <system_error>

#include "base/numbers.h"
#include "comm/protocol.h"
#include "session/session.h"

namespace tq {
namespace {
constexpr int kLocaleChinesePrc = 0x0804;

struct AddressBoxInfo {
  const char* box;
  const char* key;
  const char* fallback;
};

AddressBoxInfo InfoOf(AddressBox box) {
  switch (box) {
    case AddressBox::TableMax:
      return {"txtMaxAddr", "TableMaxAddr", "1FFF"};
    case AddressBox::ReadStart:
      return {"txtReadStartAddr", "ReadStartAddr", "0000"};
    case AddressBox::ReadEnd:
      return {"txtReadEndAddr", "ReadEndAddr", "1FFF"};
    case AddressBox::WriteStart:
      return {"txtWriteStartAddr", "WriteStartAddr", "0000"};
    case AddressBox::WriteEnd:
      break;
  }
  return {"txtWriteEndAddr", "WriteEndAddr", "1FFF"};
}

}  // namespace

bool Session::StartUp(SessionWindows* windows) {
  windows_ = windows;
  return report_.Guard("mdifrmMain->Form_Load", [&] {
    UserSettingsFromShipped();
    // A save that was killed leaves its temporary file beside the settings file.
    settings_.RemoveStaleTemporaryFiles();
    // The flag-word masks and the list end marker are constants of the codec.
    if (windows_ != nullptr) GetSysLang();
    ReadLanguage();
    if (windows_ != nullptr) windows_->CheckLanguageMenu(language_);
    BuildTextTable();
    ReadComPort();
    // "ModelType" and "ModelRange" are read and have no effect.
    settings_.ReadSetting("Setting", "ModelType", "0", 9);
    settings_.ReadSetting("Setting", "ModelRange", "0", 9);
    AllocateImage();
    ReadFonts();
    ReadColours();
    // "CtMax", "DcsMax" and "CtcDcsMax" are read and have no effect.
    for (const char* key : {"CtMax", "DcsMax", "CtcDcsMax"})
      settings_.ReadSetting("Setting", key, "0", 29);
    ReadAddresses();
    fill_.start = 0;
    fill_.end = AddressValue(AddressBox::TableMax);
    InitProtocolScripts();
    GenerateDatFolder();
    if (windows_ != nullptr) windows_->SetSoftFace();
    InitChMem();
    NewFileSol();
    if (windows_ != nullptr) {
      windows_->SetGridMemDat();
      windows_->ShowChannelWindow();
    }
    ReadChannelLock();
    ReadTransferSwitches();
  });
}

void Session::UserSettingsFromShipped() {
  const std::filesystem::path shipped = folders_.shipped / kSettingsFileName;
  std::error_code ec;
  if (folders_.settingsFile == shipped || std::filesystem::exists(folders_.settingsFile, ec))
    return;
  // The user's first run: the settings start as shipped.
  std::filesystem::create_directories(folders_.settingsFile.parent_path(), ec);
  if (!ec) std::filesystem::copy_file(shipped, folders_.settingsFile, ec);
  if (ec) {
    throw Failure(err::kPathFileAccess, "Settings",
                  folders_.settingsFile.string() + ": " + ec.message());
  }
}

void Session::GetSysLang() {
  report_.Guard("mdifrmMain->GetSysLang", [&] {
    if (ToInt16(settings_.ReadSetting("Setting", "FirRun", "1", 2), "FirRun") == 0) return;
    settings_.WriteSetting("Setting", "FirRun", "0");
    const int locale = windows_->SystemLocale();
    settings_.WriteSetting("Setting", "Language", locale == kLocaleChinesePrc ? "1" : "3");
    const int16_t port = windows_->AutoSetPort();
    if (port > 0) comPort_ = port;
  });
}

void Session::ReadLanguage() {
  // A language that is not a number is as invalid as any other value: it means English. The
  // corrected value stays in memory; the settings file keeps what it holds.
  const std::string text = settings_.ReadSetting("Setting", "Language", "2", 9);
  const auto value = ParseDecimal(text);
  language_ = NormaliseLanguage(value ? static_cast<long long>(*value) : 0);
}

void Session::BuildTextTable() {
  softFace_ = SoftFace::Build(language_);
}

void Session::ReadComPort() {
  const int16_t port = ToInt16(settings_.ReadSetting("Setting", "COM", "1", 9), "COM");
  if (port < 1 || port > 16) {
    throw Failure(err::kInvalidPropertyValue, "COM", "no port " + std::to_string(port));
  }
  comPort_ = port;
  if (windows_ != nullptr && !windows_->TestComPort(comPort_)) {
    const int16_t chosen = windows_->AutoSetPort();
    if (chosen > 0) comPort_ = chosen;
  }
}

void Session::AllocateImage() {
  const int16_t datNum = ToInt16(settings_.ReadSetting("Setting", "DatNum", "8191", 9), "DatNum");
  if (datNum < 0) throw Failure(err::kIndexOutOfRange, "DatNum", "negative highest address");
  IicDat_ = MemoryImage(datNum);
  TempIicDat_ = MemoryImage(datNum);
}

void Session::ReadFonts() {
  const std::string english = settings_.ReadSetting("Setting", "EngFont", "Times New Roman", 29);
  const std::string chinese = settings_.ReadSetting("Setting", "ChsFont", "宋体", 29);
  fontName_ = language_ == kLangSimplifiedChinese ? chinese : english;
}

void Session::ReadColours() {
  overColor_ =
      ToInt32(settings_.ReadSetting("Setting", "OverColor", std::to_string(kFallbackOverColor), 29),
              "OverColor");
  defColor_ =
      ToInt32(settings_.ReadSetting("Setting", "DefColor", std::to_string(kFallbackDefColor), 29),
              "DefColor");
}

void Session::ReadAddresses() {
  for (const AddressBox box : kAddressBoxes) {
    addressTexts_[static_cast<std::size_t>(box)] =
        settings_.ReadSetting("Setting", InfoOf(box).key, InfoOf(box).fallback, 14);
  }
  // Each text goes into its box of the communication window, whose change rule applies: a text
  // that is not hexadecimal keeps the address as it was and is reported under the box's name.
  for (const AddressBox box : kAddressBoxes) ApplyAddressText(box);
}

const char* AddressBoxName(AddressBox box) {
  return InfoOf(box).box;
}

const std::string& Session::AddressText(AddressBox box) const {
  return addressTexts_[static_cast<std::size_t>(box)];
}

int16_t Session::AddressValue(AddressBox box) const {
  return addressValues_[static_cast<std::size_t>(box)];
}

bool Session::ApplyAddressText(AddressBox box) {
  const char* name = InfoOf(box).box;
  const std::string& text = AddressText(box);
  return report_.Guard(std::string("frmCommun->") + name + "_Change", [&] {
    const std::optional<int16_t> address = ParseAddressText(text);
    if (!address) throw Failure(err::kTypeMismatch, name, "not a hexadecimal address: " + text);
    addressValues_[static_cast<std::size_t>(box)] = *address;
  });
}

bool Session::AddressTextChanged(AddressBox box, const std::string& text) {
  addressTexts_[static_cast<std::size_t>(box)] = text;
  // The text is stored as typed, before it is judged: a half-typed address survives a restart
  // just as the box shows it.
  report_.Guard(std::string("frmCommun->") + InfoOf(box).box + "_Change",
                [&] { settings_.WriteSetting("Setting", InfoOf(box).key, text); });
  return ApplyAddressText(box);
}

void Session::InitProtocolScripts() {
  report_.Guard("modCommun->InitProtocol", [this] {
    // The lists are built again by every transfer; here a range too long for them is reported.
    const AddressRanges r = Ranges();
    InitProtocol(r.readStart, r.readEnd, r.writeStart, r.writeEnd);
  });
}

void Session::InitChMem() {
  // The channel window's data: tone list, layout, empty table, model and band lists.
  tones_ = ToneTable(language_);
  report_.Guard("modChMem->ReadChInfo", [this] { ReadChInfo(settings_, language_, layout_); });
  report_.Guard("modChMem->InitChTable",
                [this] { InitChTable(layout_, ChInfo_, IicDat_, TempIicDat_); });
  if (windows_ != nullptr) windows_->InitChannelWindow();
  report_.Guard("frmChMem->ChInfoModel", [this] {
    modelPosition_ = 0;
    bandPosition_ = kDefaultBand;
    cboFrequency_Click(kDefaultBand);
  });
}

void Session::ReadChannelLock() {
  // Only the exact text "ShowLock" locks; any other value, in any case, starts unlocked.
  SetLock(settings_.ReadSetting("Setting", "ChannelLock", "ShowNo", 14) == "ShowLock");
}

}  // namespace tq
