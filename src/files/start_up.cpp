// The start-up sequence of the program: every step in its fixed order, the first-run detection,
// and the reading of each setting that start-up takes.
#include <system_error>

#include "base/numbers.h"
#include "files/document.h"

namespace tq {
namespace {
constexpr int kLocaleChinesePrc = 0x0804;
}  // namespace

bool Document::StartUp(const StartUpHooks& hooks) {
  return report.Guard("mdifrmMain->Form_Load", [&] {
    // The flag-word masks and the list end marker are constants of the codec.
    if (hooks.firstRunDetection) GetSysLang(hooks);
    ReadLanguage();
    if (hooks.checkLanguageMenu) hooks.checkLanguageMenu(language);
    BuildTextTable();
    ReadComPort(hooks);
    // "ModelType" and "ModelRange" are read and have no effect.
    settings.ReadSetting("Setting", "ModelType", "0", 9);
    settings.ReadSetting("Setting", "ModelRange", "0", 9);
    AllocateImage();
    ReadFonts();
    ReadColours();
    // "CtMax", "DcsMax" and "CtcDcsMax" are read and have no effect.
    for (const char* key : {"CtMax", "DcsMax", "CtcDcsMax"})
      settings.ReadSetting("Setting", key, "0", 29);
    ReadAddresses();
    fill.start = 0;
    fill.end = TableMaxAddr;
    InitProtocolScripts();
    GenerateDatFolder();
    if (hooks.setSoftFace) hooks.setSoftFace();
    InitChMem(hooks);
    NewFileSol();
    if (hooks.showNewData) hooks.showNewData();
    if (hooks.setGridMemDat) hooks.setGridMemDat();
    if (hooks.showChannelWindow) hooks.showChannelWindow();
    ReadChannelLock(hooks);
  });
}

void Document::GetSysLang(const StartUpHooks& hooks) {
  report.Guard("mdifrmMain->GetSysLang", [&] {
    if (ToInt16(settings.ReadSetting("Setting", "FirRun", "1", 2), "FirRun") == 0) return;
    settings.WriteSetting("Setting", "FirRun", "0");
    const int locale = hooks.systemLocale ? hooks.systemLocale() : 0;
    settings.WriteSetting("Setting", "Language", locale == kLocaleChinesePrc ? "1" : "3");
    if (hooks.autoSetPort) {
      const int16_t port = hooks.autoSetPort();
      if (port > 0) ComPort = port;
    }
  });
}

void Document::ReadLanguage() {
  // A language that is not a number is as invalid as any other value: it means English. The
  // corrected value stays in memory; the settings file keeps what it holds.
  const std::string text = settings.ReadSetting("Setting", "Language", "2", 9);
  const auto value = ParseDecimal(text);
  language = NormaliseLanguage(value ? static_cast<long long>(*value) : 0);
}

void Document::BuildTextTable() {
  softFace = SoftFace::Build(language);
}

void Document::ReadComPort(const StartUpHooks& hooks) {
  const int16_t port = ToInt16(settings.ReadSetting("Setting", "COM", "1", 9), "COM");
  if (port < 1 || port > 16) {
    throw Failure(err::kInvalidPropertyValue, "COM", "no port " + std::to_string(port));
  }
  ComPort = port;
  if (hooks.testComPort && !hooks.testComPort(ComPort) && hooks.autoSetPort) {
    const int16_t chosen = hooks.autoSetPort();
    if (chosen > 0) ComPort = chosen;
  }
}

void Document::AllocateImage() {
  const int16_t datNum = ToInt16(settings.ReadSetting("Setting", "DatNum", "8191", 9), "DatNum");
  if (datNum < 0) throw Failure(err::kIndexOutOfRange, "DatNum", "negative highest address");
  IicDat = MemoryImage(datNum);
  TempIicDat = MemoryImage(datNum);
}

void Document::ReadFonts() {
  const std::string english = settings.ReadSetting("Setting", "EngFont", "Times New Roman", 29);
  const std::string chinese = settings.ReadSetting("Setting", "ChsFont", "宋体", 29);
  fontName = language == kLangSimplifiedChinese ? chinese : english;
}

void Document::ReadColours() {
  overColor =
      ToInt32(settings.ReadSetting("Setting", "OverColor", std::to_string(kFallbackOverColor), 29),
              "OverColor");
  defColor =
      ToInt32(settings.ReadSetting("Setting", "DefColor", std::to_string(kFallbackDefColor), 29),
              "DefColor");
}

void Document::ReadAddresses() {
  tableMaxAddrText = settings.ReadSetting("Setting", "TableMaxAddr", "1FFF", 14);
  readStartAddrText = settings.ReadSetting("Setting", "ReadStartAddr", "0000", 14);
  readEndAddrText = settings.ReadSetting("Setting", "ReadEndAddr", "1FFF", 14);
  writeStartAddrText = settings.ReadSetting("Setting", "WriteStartAddr", "0000", 14);
  writeEndAddrText = settings.ReadSetting("Setting", "WriteEndAddr", "1FFF", 14);
  // Each text goes into its box of the communication window, whose change rule applies: a text
  // that is not hexadecimal keeps the address as it was and is reported under the box's name.
  for (const AddressBox box : kAddressBoxes) ApplyAddressText(box);
}

namespace {

struct AddressBoxInfo {
  const char* box;
  const char* key;
};

AddressBoxInfo InfoOf(AddressBox box) {
  switch (box) {
    case AddressBox::TableMax:
      return {"txtMaxAddr", "TableMaxAddr"};
    case AddressBox::ReadStart:
      return {"txtReadStartAddr", "ReadStartAddr"};
    case AddressBox::ReadEnd:
      return {"txtReadEndAddr", "ReadEndAddr"};
    case AddressBox::WriteStart:
      return {"txtWriteStartAddr", "WriteStartAddr"};
    case AddressBox::WriteEnd:
      break;
  }
  return {"txtWriteEndAddr", "WriteEndAddr"};
}

}  // namespace

const char* AddressBoxName(AddressBox box) {
  return InfoOf(box).box;
}

std::string& Document::AddressText(AddressBox box) {
  switch (box) {
    case AddressBox::TableMax:
      return tableMaxAddrText;
    case AddressBox::ReadStart:
      return readStartAddrText;
    case AddressBox::ReadEnd:
      return readEndAddrText;
    case AddressBox::WriteStart:
      return writeStartAddrText;
    case AddressBox::WriteEnd:
      break;
  }
  return writeEndAddrText;
}

int16_t& Document::AddressValue(AddressBox box) {
  switch (box) {
    case AddressBox::TableMax:
      return TableMaxAddr;
    case AddressBox::ReadStart:
      return ReadStartAddr;
    case AddressBox::ReadEnd:
      return ReadEndAddr;
    case AddressBox::WriteStart:
      return WriteStartAddr;
    case AddressBox::WriteEnd:
      break;
  }
  return WriteEndAddr;
}

bool Document::ApplyAddressText(AddressBox box) {
  const char* name = InfoOf(box).box;
  const std::string& text = AddressText(box);
  return report.Guard(std::string("frmCommun->") + name + "_Change", [&] {
    const std::optional<int16_t> address = ParseAddressText(text);
    if (!address) throw Failure(err::kTypeMismatch, name, "not a hexadecimal address: " + text);
    AddressValue(box) = *address;
  });
}

bool Document::AddressTextChanged(AddressBox box, const std::string& text) {
  AddressText(box) = text;
  // The text is stored as typed, before it is judged: a half-typed address survives a restart
  // just as the box shows it.
  report.Guard(std::string("frmCommun->") + InfoOf(box).box + "_Change",
               [&] { settings.WriteSetting("Setting", InfoOf(box).key, text); });
  return ApplyAddressText(box);
}

void Document::InitProtocolScripts() {
  report.Guard("modCommun->InitProtocol", [this] {
    scripts = InitProtocol(ReadStartAddr, ReadEndAddr, WriteStartAddr, WriteEndAddr);
  });
}

void Document::InitChMem(const StartUpHooks& hooks) {
  // The channel window's data: tone list, layout, empty table, model and band lists.
  tones = ToneTable(language);
  report.Guard("modChMem->ReadChInfo", [this] { ReadChInfo(settings, language, layout); });
  report.Guard("modChMem->InitChTable",
               [this] { InitChTable(layout, ChInfo, IicDat, TempIicDat); });
  if (hooks.initChannelWindow) hooks.initChannelWindow();
  report.Guard("frmChMem->ChInfoModel", [this] {
    modelPosition = 0;
    bandPosition = kDefaultBand;
    cboFrequency_Click(kDefaultBand);
  });
}

void Document::ReadChannelLock(const StartUpHooks& hooks) {
  // Only the exact text "ShowLock" locks; any other value, in any case, starts unlocked.
  channelLock = settings.ReadSetting("Setting", "ChannelLock", "ShowNo", 14) == "ShowLock"
                    ? "ShowLock"
                    : "ShowNo";
  if (hooks.applyLock) hooks.applyLock(channelLock == "ShowLock");
}

}  // namespace tq
