#include "options/option_codec.h"

#include <string_view>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "base/settings_file.h"
#include "image/memory_image.h"

namespace tq {
namespace {

// The component named in failures of the option conversions and of the settings copy.
constexpr const char* kCodecSource = "modSysSet";
constexpr const char* kShowSource = "frmChMem";

constexpr std::string_view kOptionSection = "Option";
constexpr std::string_view kOptionCountKey = "0";
// Every value of section "Option" is read like the count: default "0", at most 19 characters.
constexpr std::string_view kMissingValue = "0";
constexpr std::size_t kValueLength = 19;

// The broadcast squelch is stored with this offset, so 0..32 lie at 0x86..0xA6.
constexpr int kRadioSqlOffset = 134;

constexpr int kAddrTot = 0x0130;
constexpr int kAddrSql = 0x0134;
constexpr int kAddrVolume = 0x03FF;
constexpr int kAddrAnVoice = 0x012F;
constexpr int kAddrRadioSql = 0x03F6;
constexpr int kAddrRadioVolume = 0x03F7;
constexpr int kAddrBatSave = 0x0135;
constexpr int kAddrBeep = 0x0136;
constexpr int kAddrAlarm = 0x03FC;  // emergency alarm in bit 7
constexpr int kAddrFlags = 0x03FE;  // voice chip in bits 0-1, low-battery transmit in bit 2
constexpr int kAddrCrystalId = 0x03D8;
constexpr int kAddrCrystalBits = 0x03D3;
constexpr int kAddrPreTot = 0x0131;
constexpr int kAddrVoxLevel = 0x013A;
constexpr int kAddrVoxDly = 0x013B;
constexpr int kAddrVoxRxForbid = 0x0138;

constexpr uint8_t kAlarmBit = 0x80;
constexpr uint8_t kLowBatTxBit = 0x04;
constexpr uint8_t kVoiceChipBits = 0x03;

constexpr int kSlotTot = 0;
constexpr int kSlotSql = 1;
constexpr int kSlotVolume = 2;
constexpr int kSlotAnVoice = 3;
constexpr int kSlotRadioSql = 4;
constexpr int kSlotRadioVolume = 5;
constexpr int kSlotBatSave = 6;
constexpr int kSlotBeep = 7;
constexpr int kSlotAlarm = 8;
constexpr int kSlotAnChip = 9;
constexpr int kSlotCrystal = 10;
constexpr int kSlotPreTot = 11;
constexpr int kSlotVoxLevel = 12;
constexpr int kSlotVoxDly = 13;
constexpr int kSlotVoxRxForbid = 14;
constexpr int kSlotLowBatTx = 15;

int16_t& Slot(std::array<int16_t, kOptionSlots>& slots, int slot) {
  return slots[static_cast<std::size_t>(slot)];
}

int16_t Slot(const std::array<int16_t, kOptionSlots>& slots, int slot) {
  return slots[static_cast<std::size_t>(slot)];
}

// Stores a whole-byte option; a value outside 0..255 throws Failure 6 before the byte changes.
void StoreByte(MemoryImage& image, int address, long long value) {
  image.set(address, CheckedByte(value, kCodecSource));
}

// `byte` with `bit` cleared, then set again when the option is on (value 1).
uint8_t WithBit(uint8_t byte, uint8_t bit, int16_t value) {
  byte = static_cast<uint8_t>(byte & static_cast<uint8_t>(~bit));
  if (value == 1) byte = static_cast<uint8_t>(byte | bit);
  return byte;
}

void StoreBit(MemoryImage& image, int address, uint8_t bit, int16_t value) {
  image.set(address, WithBit(image.at(address), bit, value));
}

// A loaded value above the top of the slot's list (or below 0, which only the broadcast squelch
// can produce) takes the slot's default.
int16_t Checked(int16_t loaded, const OptionValues& values, int slot) {
  const int16_t max = kOptionMax[static_cast<std::size_t>(slot)];
  return (loaded < 0 || loaded > max) ? Slot(values.OptDef, slot) : loaded;
}

bool IsCheckBox(int slot) {
  return slot == kSlotBatSave || slot == kSlotBeep || slot == kSlotAlarm || slot == kSlotLowBatTx;
}

}  // namespace

const std::array<int16_t, kOptionCount> kOptionMax = {20, 9, 15, 2,  32, 15, 1, 1,
                                                      1,  1, 3,  10, 10, 5,  1, 1};

void OptSelToSave(const OptionValues& values, MemoryImage& image) {
  const auto& sel = values.OptSel;
  StoreByte(image, kAddrTot, Slot(sel, kSlotTot));
  StoreByte(image, kAddrSql, Slot(sel, kSlotSql));
  StoreByte(image, kAddrVolume, Slot(sel, kSlotVolume));
  StoreByte(image, kAddrAnVoice, Slot(sel, kSlotAnVoice));
  StoreByte(image, kAddrRadioSql, Slot(sel, kSlotRadioSql) + kRadioSqlOffset);
  StoreByte(image, kAddrRadioVolume, Slot(sel, kSlotRadioVolume));
  StoreByte(image, kAddrBatSave, Slot(sel, kSlotBatSave));
  StoreByte(image, kAddrBeep, Slot(sel, kSlotBeep));
  StoreBit(image, kAddrAlarm, kAlarmBit, Slot(sel, kSlotAlarm));
  // The voice chip and the crystal are identified by the radio itself; they are never written.
  StoreByte(image, kAddrPreTot, Slot(sel, kSlotPreTot));
  StoreByte(image, kAddrVoxLevel, Slot(sel, kSlotVoxLevel));
  StoreByte(image, kAddrVoxDly, Slot(sel, kSlotVoxDly));
  StoreByte(image, kAddrVoxRxForbid, Slot(sel, kSlotVoxRxForbid));
  StoreBit(image, kAddrFlags, kLowBatTxBit, Slot(sel, kSlotLowBatTx));
}

uint8_t WithOptionBits(int address, uint8_t radioValue, const OptionValues& values) {
  if (address == kAddrAlarm) return WithBit(radioValue, kAlarmBit, Slot(values.OptSel, kSlotAlarm));
  if (address == kAddrFlags) {
    return WithBit(radioValue, kLowBatTxBit, Slot(values.OptSel, kSlotLowBatTx));
  }
  return radioValue;
}

void SaveToOptSel(const MemoryImage& image, OptionValues& values) {
  auto& sel = values.OptSel;
  const auto byteAt = [&image](int address) -> int16_t { return image.at(address); };

  Slot(sel, kSlotTot) = Checked(byteAt(kAddrTot), values, kSlotTot);
  Slot(sel, kSlotSql) = Checked(byteAt(kAddrSql), values, kSlotSql);
  Slot(sel, kSlotVolume) = Checked(byteAt(kAddrVolume), values, kSlotVolume);
  Slot(sel, kSlotAnVoice) = Checked(byteAt(kAddrAnVoice), values, kSlotAnVoice);
  Slot(sel, kSlotRadioSql) =
      Checked(static_cast<int16_t>(byteAt(kAddrRadioSql) - kRadioSqlOffset), values, kSlotRadioSql);
  Slot(sel, kSlotRadioVolume) = static_cast<int16_t>(byteAt(kAddrRadioVolume) & 0x0F);
  Slot(sel, kSlotBatSave) = static_cast<int16_t>(byteAt(kAddrBatSave) & 0x01);
  Slot(sel, kSlotBeep) = static_cast<int16_t>(byteAt(kAddrBeep) & 0x01);
  Slot(sel, kSlotAlarm) = (byteAt(kAddrAlarm) & kAlarmBit) != 0 ? 1 : 0;

  // Voice chip: 00 is the first chip, 10 the value 2 (not in the list), 01 and 11 the second.
  switch (byteAt(kAddrFlags) & kVoiceChipBits) {
    case 0x00:
      Slot(sel, kSlotAnChip) = 0;
      break;
    case 0x02:
      Slot(sel, kSlotAnChip) = 2;
      break;
    default:
      Slot(sel, kSlotAnChip) = 1;
      break;
  }

  Slot(sel, kSlotCrystal) = DetectCrystal(image);
  Slot(sel, kSlotPreTot) = Checked(byteAt(kAddrPreTot), values, kSlotPreTot);
  Slot(sel, kSlotVoxLevel) = Checked(byteAt(kAddrVoxLevel), values, kSlotVoxLevel);
  Slot(sel, kSlotVoxDly) = Checked(byteAt(kAddrVoxDly), values, kSlotVoxDly);
  Slot(sel, kSlotVoxRxForbid) = Checked(byteAt(kAddrVoxRxForbid), values, kSlotVoxRxForbid);
  Slot(sel, kSlotLowBatTx) =
      Checked(static_cast<int16_t>((byteAt(kAddrFlags) & kLowBatTxBit) / 4), values, kSlotLowBatTx);
}

void OptSelSaveSol(int direction, OptionValues& values, MemoryImage& image) {
  if (direction == 0) {
    OptSelToSave(values, image);
  } else if (direction == 1) {
    SaveToOptSel(image, values);
  }
}

int16_t DetectCrystal(const MemoryImage& image) {
  // The identification letter written by newer firmware wins over the frequency bits.
  switch (image.at(kAddrCrystalId)) {
    case 0x5A:
      return 0;  // 'Z': 12.8 MHz
    case 0x75:
      return 1;  // 'u': 13.0 MHz
    case 0x49:
      return 2;  // 'I': 25.6 MHz
    case 0xA8:
      return 3;  // 26.0 MHz
    default:
      break;
  }
  switch (image.at(kAddrCrystalBits) & 0xC0) {
    case 0x00:
      return 0;
    case 0x40:
      return 1;
    case 0x80:
      return 2;
    default:
      return 3;
  }
}

void OptNowDefSol(int mode, int16_t& language, OptionValues& values, const SettingsFile& settings) {
  if (language < 1 || language > 3) language = 3;
  const int defaultBase = language * 1000 + 1;
  const int currentBase = language * 1000 + 501;

  const auto read = [&settings](int key) {
    return ToInt16(
        settings.ReadSetting(kOptionSection, std::to_string(key), kMissingValue, kValueLength),
        kCodecSource);
  };
  const auto write = [&settings](int key, int16_t value) {
    settings.WriteSetting(kOptionSection, std::to_string(key), std::to_string(value));
  };

  const int16_t optCount =
      ToInt16(settings.ReadSetting(kOptionSection, kOptionCountKey, kMissingValue, kValueLength),
              kCodecSource);
  if (mode < 0 || mode > 3) return;
  if (optCount > kOptionSlots) {
    throw Failure(err::kIndexOutOfRange, kCodecSource,
                  "option count " + std::to_string(optCount) + " exceeds the option slots");
  }

  auto& sel = values.OptSel;
  auto& def = values.OptDef;
  switch (mode) {
    case 0:
      for (int k = 0; k < optCount; ++k) Slot(def, k) = read(defaultBase + k);
      for (int k = 0; k < optCount; ++k) Slot(sel, k) = read(currentBase + k);
      break;
    case 2:
      for (int k = 0; k < optCount; ++k) Slot(sel, k) = Slot(def, k);
      [[fallthrough]];
    case 1:
      for (int k = 0; k < optCount; ++k) write(currentBase + k, Slot(sel, k));
      break;
    case 3:
      for (int k = 0; k < optCount; ++k) Slot(def, k) = Slot(sel, k);
      for (int k = 0; k < optCount; ++k) write(defaultBase + k, Slot(sel, k));
      break;
    default:
      break;
  }
}

const std::string& OptionOutOfRangeText(int slot) {
  // Chinese in every interface language; the broadcast squelch line has three blanks before
  // the error type, the others five.
  static const std::array<std::string, kOptionCount> kTexts = {
      "出错位置: frmChMem->InitOpt->超时定时器     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->静噪电平     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->对讲机音量     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->语音通知     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->收音机静噪电平   错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->收音机音量     错误类型: 不在范围内",
      "",
      "",
      "",
      "出错位置: frmChMem->InitOpt->语音片选择     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->晶体频率     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->超时预警     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->VOX增益电平     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->VOX延迟时间[秒]     错误类型: 不在范围内",
      "出错位置: frmChMem->InitOpt->接收时禁止VOX     错误类型: 不在范围内",
      "",
  };
  static const std::string kNone;
  if (slot < 0 || slot >= kOptionCount) return kNone;
  return kTexts[static_cast<std::size_t>(slot)];
}

int16_t OptionShownIndex(int slot, const OptionValues& values, ErrorReport& report) {
  if (slot < 0 || slot >= kOptionCount) {
    throw Failure(err::kIndexOutOfRange, kShowSource, "option slot " + std::to_string(slot));
  }
  const int16_t current = Slot(values.OptSel, slot);
  if (IsCheckBox(slot)) return current != 0 ? 1 : 0;

  const int16_t max = kOptionMax[static_cast<std::size_t>(slot)];
  int16_t shown = current;
  if (current > max) {
    report.ShowOptErrLine(OptionOutOfRangeText(slot));
    shown = Slot(values.OptDef, slot);
    if (shown > max) {
      throw Failure(err::kInvalidPropertyValue, kShowSource,
                    "default " + std::to_string(shown) + " of option slot " + std::to_string(slot) +
                        " is not in its list");
    }
  }
  return shown < 0 ? int16_t{-1} : shown;
}

}  // namespace tq
