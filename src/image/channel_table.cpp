#include "image/channel_table.h"

#include "base/failure.h"
#include "base/numbers.h"
#include "base/settings_file.h"
#include "image/memory_image.h"

namespace tq {
namespace {

constexpr const char* kSection = "ChInfo";
constexpr int kMaxColCount = kFieldCount - 1;  // fields 1 to 20 can carry a list
constexpr int kListCapacity = 50;              // texts 0 to 49 of a field list
constexpr int kListKeyStride = 50;

std::size_t RowIndex(int n, const char* source) {
  if (n < 1 || n > kMaxChannels) {
    throw Failure(err::kIndexOutOfRange, source, "channel " + std::to_string(n));
  }
  return static_cast<std::size_t>(n - 1);
}

std::string Key(int key) {
  return std::to_string(key);
}

}  // namespace

ChannelRow& ChannelTable::operator[](int n) {
  return rows_[RowIndex(n, "ChInfo")];
}

const ChannelRow& ChannelTable::operator[](int n) const {
  return rows_[RowIndex(n, "ChInfo")];
}

const std::string& ChannelLayout::FieldText(int f, int r) const {
  static const std::string kNone;
  if (f < 0 || r < 0 || static_cast<std::size_t>(f) >= fieldTexts.size()) return kNone;
  const auto& list = fieldTexts[static_cast<std::size_t>(f)];
  if (static_cast<std::size_t>(r) >= list.size()) return kNone;
  return list[static_cast<std::size_t>(r)];
}

int ChInfoKeyBase(const SettingsFile& settings, long long language) {
  if (language == 1) return 1000;
  // Traditional Chinese has keys of its own in the shipped file; an older settings file without
  // them gives it the English layout.
  if (language == 2 && !settings.ReadSetting(kSection, Key(2000), "", 5).empty()) return 2000;
  return 3000;
}

void ReadChInfo(const SettingsFile& settings, long long language, ChannelLayout& layout) {
  const int base = ChInfoKeyBase(settings, language);
  const std::string source = "ReadChInfo";

  // The table has rows for 260 channels and 20 fields; a count beyond that cannot be honoured.
  const int16_t chCount = ToInt16(settings.ReadSetting(kSection, Key(base), "16", 5), source);
  if (chCount < 1 || chCount > kMaxChannels) {
    throw Failure(err::kInvalidPropertyValue, source, "channel count " + std::to_string(chCount));
  }
  layout.ChCount = chCount;
  layout.rowHeight = ToInt16(settings.ReadSetting(kSection, Key(base + 1), "240", 5), source);
  const int16_t colCount = ToInt16(settings.ReadSetting(kSection, Key(base + 2), "9", 5), source);
  if (colCount < 1 || colCount > kMaxColCount) {
    throw Failure(err::kInvalidPropertyValue, source, "field count " + std::to_string(colCount));
  }
  layout.ColCount = colCount;
  layout.format = settings.ReadSetting(kSection, Key(base + 3), "0|0|0|0|0|0|0|0|0|0", 199);

  // Widths and lists are sized first, so that what a failed reading leaves behind still has
  // one entry per column: widths not reached stay 0, lists not reached stay empty.
  const auto columns = static_cast<std::size_t>(colCount) + 1;
  layout.widths.assign(columns, 0);
  layout.fieldTexts.assign(columns, {});
  for (int k = 0; k <= colCount; ++k) {
    layout.widths[static_cast<std::size_t>(k)] =
        ToInt32(settings.ReadSetting(kSection, Key(base + 100 + k), "1000", 10), source);
  }

  for (int f = 1; f <= colCount; ++f) {
    auto& list = layout.fieldTexts[static_cast<std::size_t>(f)];
    const int first = base + 200 + (f - 1) * kListKeyStride;
    // The marker may stand at place 50, one past the last text a list can hold.
    for (int r = 0; r <= kListCapacity; ++r) {
      std::string text = settings.ReadSetting(kSection, Key(first + r), "0", 99);
      if (text == kEndOfItem) break;
      if (r == kListCapacity) {
        throw Failure(err::kIndexOutOfRange, source,
                      "field " + std::to_string(f) + " has no end marker among its 50 texts");
      }
      list.push_back(std::move(text));
    }
  }
}

void DelOneChannel(int n, ChannelTable& table, MemoryImage& image, const MemoryImage& temp) {
  if (n < 1 || n > kImageChannels) {
    throw Failure(err::kIndexOutOfRange, "DelOneChannel",
                  "channel " + std::to_string(n) + " has no record in the image");
  }
  ChannelRow& row = table[n];
  row.field[0] = 1;
  row.field[1] = -1;
  row.field[2] = -1;
  const int address = ChannelRecordAddress(n);
  for (int k = 0; k < kChannelRecordSize; ++k) image.set(address + k, temp.at(address + k));
  row.rxTone.clear();
  row.txTone.clear();
}

void InitChTable(const ChannelLayout& layout, ChannelTable& table, MemoryImage& image,
                 const MemoryImage& temp) {
  for (int n = 1; n <= layout.ChCount; ++n) DelOneChannel(n, table, image, temp);
}

}  // namespace tq
