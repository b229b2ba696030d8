#include "image/channel_codec.h"

#include <optional>
#include <string>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "image/memory_image.h"
#include "image/tone_table.h"

namespace tq {
namespace {

// Record offsets of the fields a channel stores.
constexpr int kRxFreq = 0;   // 0-3, most significant pair at 3
constexpr int kTxFreq = 4;   // 4-7, most significant pair at 7
constexpr int kRxTone = 8;   // low byte, high byte at 9
constexpr int kTxTone = 10;  // low byte, high byte at 11
constexpr int kParamA = 12;  // bits 3-4: field 8
constexpr int kParamB = 13;  // bit 5: field 5, bit 4: field 6

constexpr uint8_t kField8One = 0x08;
constexpr uint8_t kField8Two = 0x10;
constexpr uint8_t kField5Bit = 0x20;
constexpr uint8_t kField6Bit = 0x10;

// The receive frequency a record falls back to when its digits are not decimal: 120 MHz.
constexpr int32_t kRxFallback = 12000000;

// A frequency's most significant byte opens a BCD number only when it lies in 0x01 to 0x99;
// 0x00 and the erased 0xFF mark a missing frequency.
bool StartsBcdNumber(uint8_t byte) {
  return byte >= 0x01 && byte <= 0x99;
}

// The eight hexadecimal digits of a stored frequency, most significant pair first.
std::string FrequencyDigits(const MemoryImage& image, int address) {
  std::string digits;
  for (int k = 3; k >= 0; --k) digits += HexText(image.at(address + k), 2);
  return digits;
}

// The value of eight decimal digits, or nothing when a nibble is above 9.
std::optional<int32_t> DecimalValue(const std::string& digits) {
  int32_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

int32_t& Field(ChannelRow& row, int f) {
  if (f < 0 || f >= kFieldCount) {
    throw Failure(err::kIndexOutOfRange, "ChInfo", "field " + std::to_string(f));
  }
  return row.field[static_cast<std::size_t>(f)];
}

// A channel beyond the sixteenth has no bit in the flag word and so cannot be coded.
void CheckCodedChannel(int n) {
  if (n < 1 || n > kImageChannels) {
    throw Failure(err::kIndexOutOfRange, "ChInfo",
                  "channel " + std::to_string(n) + " has no record in the image");
  }
}

uint16_t ReadFlagWord(const MemoryImage& image) {
  return static_cast<uint16_t>(image.at(kFlagWordHigh) * 256 + image.at(kFlagWordLow));
}

void IcChParaSol(int n, const MemoryImage& image, ChannelRow& row) {
  const int b = ChannelRecordAddress(n);
  const uint8_t params = image.at(b + kParamB);
  row.field[5] = (params & kField5Bit) != 0 ? 1 : 0;
  row.field[6] = (params & kField6Bit) != 0 ? 1 : 0;
  row.field[7] = (ReadFlagWord(image) & FlagSetMask(n - 1)) != 0 ? 1 : 0;
  const uint8_t level = image.at(b + kParamA) & (kField8One | kField8Two);
  row.field[8] = level == kField8One ? 1 : level == kField8Two ? 2 : 0;
}

void IcRxFreSol(int n, const MemoryImage& image, ChannelRow& row) {
  const std::string digits = FrequencyDigits(image, ChannelRecordAddress(n) + kRxFreq);
  if (const auto value = DecimalValue(digits)) {
    row.field[1] = *value;
    return;
  }
  row.field[1] = kRxFallback;
  throw Failure(err::kTypeMismatch, "IcRxFreSol", "receive frequency digits " + digits);
}

void IcTxFreSol(int n, const MemoryImage& image, ChannelRow& row) {
  const int address = ChannelRecordAddress(n) + kTxFreq;
  if (!StartsBcdNumber(image.at(address + 3))) {
    row.field[2] = -1;
    return;
  }
  const std::string digits = FrequencyDigits(image, address);
  const auto value = DecimalValue(digits);
  if (!value) {
    throw Failure(err::kTypeMismatch, "IcTxFreSol", "transmit frequency digits " + digits);
  }
  row.field[2] = *value;
}

std::string ToneOf(const MemoryImage& image, int address, const ToneTable& tones) {
  return tones.QtDqtIicToChar(image.at(address + 1), image.at(address));
}

// A channel without a receive frequency: no frequencies, tones off, parameters from the
// default items of the layout. Its tone texts and in-use mark are left alone.
void EmptyChannel(ChannelRow& row, const ChannelLayout& layout) {
  row.field[1] = -1;
  row.field[2] = -1;
  row.field[3] = 0;
  row.field[4] = 0;
  for (int f = 5; f <= layout.ColCount; ++f) {
    Field(row, f) = ToInt32(layout.FieldText(f, 2), "IicDatToChInfo");
  }
}

void CiChParaSol(int n, const ChannelRow& row, MemoryImage& image) {
  const int b = ChannelRecordAddress(n);
  auto params = static_cast<uint8_t>(image.at(b + kParamB) & ~(kField5Bit | kField6Bit));
  if (row.field[5] == 1) params |= kField5Bit;
  if (row.field[6] == 1) params |= kField6Bit;
  image.set(b + kParamB, params);

  uint16_t flags = ReadFlagWord(image);
  flags = row.field[7] == 1 ? static_cast<uint16_t>(flags | FlagSetMask(n - 1))
                            : static_cast<uint16_t>(flags & FlagClearMask(n - 1));
  image.set(kFlagWordHigh, static_cast<uint8_t>(flags / 256));
  image.set(kFlagWordLow, static_cast<uint8_t>(flags % 256));

  auto level = static_cast<uint8_t>(image.at(b + kParamA) & ~(kField8One | kField8Two));
  if (row.field[8] == 1) {
    level |= kField8One;
  } else if (row.field[8] == 2) {
    level |= kField8Two;
  }
  image.set(b + kParamA, level);
}

// Stores a frequency at `address` (least significant pair first); -1 erases it.
void StoreFrequency(int32_t frequency, int address, MemoryImage& image) {
  if (frequency == -1) {
    for (int k = 0; k < 4; ++k) image.set(address + k, 0xFF);
    return;
  }
  // All four bytes are worked out before the first is stored, so a failure leaves the record
  // as it was.
  const auto bytes = SeparateFreChar(std::to_string(frequency));
  for (int k = 0; k < 4; ++k) image.set(address + 3 - k, bytes[static_cast<std::size_t>(k)]);
}

void StoreTone(const std::string& text, int address, const ToneTable& tones, MemoryImage& image) {
  const auto [low, high] = tones.QtDqtCharToIic(text);
  image.set(address, low);
  image.set(address + 1, high);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint16_t FlagSetMask(int i) {
  if (i < 0 || i >= kImageChannels) {
    throw Failure(err::kIndexOutOfRange, "FlagSetMask", "bit " + std::to_string(i));
  }
  return static_cast<uint16_t>(1u << i);
}

uint16_t FlagClearMask(int i) {
  if (i < 0 || i >= kImageChannels) {
    throw Failure(err::kIndexOutOfRange, "FlagClearMask", "bit " + std::to_string(i));
  }
  return static_cast<uint16_t>(0xFFFFu - (1u << i));
}

// Pairs are read while they start inside the text, so the eight digits of a frequency give
// four bytes. Any other length is taken as it comes rather than refused: a shorter text
// leaves the bytes it does not reach at 0x00 and ends on a one-digit pair ("9999999" gives
// 99 99 99 09), a longer one loses its digits after the eighth. The band limits keep real
// frequencies at eight digits, and nothing outside the four bytes is ever touched.
std::array<uint8_t, 4> SeparateFreChar(std::string_view text) {
  std::array<uint8_t, 4> bytes{};
  for (std::size_t i = 0; i < 8 && i < text.size(); i += 2) {
    const std::string_view pair = text.substr(i, 2);
    int value = 0;
    for (const char c : pair) {
      const int digit = HexDigit(c);
      if (digit < 0) {
        throw Failure(err::kTypeMismatch, "SeparateFreChar",
                      "frequency text \"" + std::string(text) + "\"");
      }
      value = value * 16 + digit;
    }
    bytes[i / 2] = static_cast<uint8_t>(value);
  }
  return bytes;
}

void IicDatToChInfo(const MemoryImage& image, const ChannelLayout& layout, const ToneTable& tones,
                    ChannelTable& table, ErrorReport& report) {
  for (int n = 1; n <= layout.ChCount; ++n) {
    try {
      CheckCodedChannel(n);
      ChannelRow& row = table[n];
      const int b = ChannelRecordAddress(n);
      if (!StartsBcdNumber(image.at(b + kRxFreq + 3))) {
        EmptyChannel(row, layout);
        continue;
      }
      report.Guard("modChMem->IcChParaSol", [&] { IcChParaSol(n, image, row); });
      report.Guard("modChMem->IcRxFreSol", [&] { IcRxFreSol(n, image, row); });
      report.Guard("modChMem->IcTxFreSol", [&] { IcTxFreSol(n, image, row); });
      report.Guard("modChMem->IcCtdcsDecSol",
                   [&] { row.rxTone = ToneOf(image, b + kRxTone, tones); });
      report.Guard("modChMem->IcCtdcsEncSol",
                   [&] { row.txTone = ToneOf(image, b + kTxTone, tones); });
    } catch (const Failure& failure) {
      report.ShowErrLine("modChMem->IicDatToChInfo", failure);
      return;
    }
  }
}

void EncodeChannel(int n, const ChannelRow& row, const ToneTable& tones, MemoryImage& image,
                   ErrorReport& report) {
  CheckCodedChannel(n);
  const int b = ChannelRecordAddress(n);
  report.Guard("modChMem->CiChParaSol", [&] { CiChParaSol(n, row, image); });
  report.Guard("modChMem->CiRxFreSol", [&] { StoreFrequency(row.field[1], b + kRxFreq, image); });
  report.Guard("modChMem->CiTxFreSol", [&] { StoreFrequency(row.field[2], b + kTxFreq, image); });
  report.Guard("modChMem->CiCtdcsDecSol",
               [&] { StoreTone(row.rxTone, b + kRxTone, tones, image); });
  report.Guard("modChMem->CiCtdcsEncSol",
               [&] { StoreTone(row.txTone, b + kTxTone, tones, image); });
}

void ChInfoToIicDat(const ChannelTable& table, const ChannelLayout& layout, const ToneTable& tones,
                    MemoryImage& image, ErrorReport& report) {
  for (int n = 1; n <= layout.ChCount; ++n) {
    try {
      EncodeChannel(n, table[n], tones, image, report);
    } catch (const Failure& failure) {
      report.ShowErrLine("modChMem->ChInfoToIicDat", failure);
      return;
    }
  }
}

void ChInfoSaveSol(int mode, ChannelTable& table, const ChannelLayout& layout,
                   const ToneTable& tones, MemoryImage& image, ErrorReport& report) {
  if (mode == 0) {
    ChInfoToIicDat(table, layout, tones, image, report);
  } else if (mode == 1) {
    IicDatToChInfo(image, layout, tones, table, report);
  }
}

}  // namespace tq
