// The channel table ChInfo and the channel-grid layout read from section "ChInfo" of the
// settings file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tq {

class SettingsFile;
class MemoryImage;
class ErrorReport;

inline constexpr int kMaxChannels = 260;   // rows of the table; 1 to ChCount are used
inline constexpr int kFieldCount = 21;     // fields 0 to 20
inline constexpr int kImageChannels = 16;  // records in the image (and bits in the flag word)
inline constexpr int kChannelBase = 0x0010;
inline constexpr int kChannelRecordSize = 16;
inline constexpr int kFlagWordLow = 0x0170;
inline constexpr int kFlagWordHigh = 0x0171;
inline constexpr const char* kEndOfItem = "*EndOfThisItem*";

// Image address of the first byte of channel n's record (n = 1 to 16).
constexpr int ChannelRecordAddress(int n) {
  return kChannelBase + (n - 1) * kChannelRecordSize;
}

// One channel: field 0 in-use mark, 1 receive and 2 transmit frequency (10 Hz units, -1 none),
// 3 and 4 tone indexes of a channel made from the defaults, 5 to 20 parameter item numbers;
// and the receive (decode) and transmit (encode) tone texts.
struct ChannelRow {
  std::array<int32_t, kFieldCount> field{};
  std::string rxTone;
  std::string txTone;
  bool operator==(const ChannelRow&) const = default;
};

class ChannelTable {
 public:
  // Channel n, 1 to 260; throws Failure 9 outside.
  ChannelRow& operator[](int n);
  const ChannelRow& operator[](int n) const;

 private:
  std::array<ChannelRow, kMaxChannels> rows_{};
};

// The channel-grid layout and the default channel.
struct ChannelLayout {
  int16_t ChCount = 16;
  int16_t rowHeight = 240;
  int16_t ColCount = 9;
  std::string format = "0|0|0|0|0|0|0|0|0|0";
  std::vector<int32_t> widths;  // columns 0 to ColCount
  // fieldTexts[f] is the text list of field f (1 to ColCount); index 0 is unused. Text 0 is
  // the column key or item list, 1 the item count, 2 the default, 3 + v the text of value v.
  std::vector<std::vector<std::string>> fieldTexts;

  // Text r of field f's list, "" when the list is shorter.
  const std::string& FieldText(int f, int r) const;
};

// Key base of section "ChInfo": 1000 for language 1; 2000 for language 2 when the section has
// key 2000, else 3000; 3000 for every other language.
int ChInfoKeyBase(const SettingsFile& settings, long long language);

// Reads the layout (ReadChInfo). Values read before a failure stay in `layout`; a field list
// without the end marker among its first 50 texts throws Failure 9 (its later fields stay
// empty), a count that is not a number throws 13.
void ReadChInfo(const SettingsFile& settings, long long language, ChannelLayout& layout);

// Deletes channel n (DelOneChannel): field 0 := 1, fields 1 and 2 := -1, both tone texts
// empty, and its 16 record bytes copied from the template image. The flag word is untouched.
void DelOneChannel(int n, ChannelTable& table, MemoryImage& image, const MemoryImage& temp);

// Deletes channels 1 to ChCount (InitChTable).
void InitChTable(const ChannelLayout& layout, ChannelTable& table, MemoryImage& image,
                 const MemoryImage& temp);

}  // namespace tq
