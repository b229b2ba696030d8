#include "session/image_diff.h"

#include <cstdio>
#include <sstream>

#include "base/error_report.h"
#include "base/json_text.h"
#include "base/message_numbers.h"
#include "base/numbers.h"
#include "base/text_table.h"
#include "image/channel_codec.h"
#include "options/option_texts.h"
#include "session/session.h"

namespace tq {
namespace {

// The comparison's own words, by language: simplified Chinese, traditional Chinese, English.
struct OwnWords {
  const char* simplified;
  const char* traditional;
  const char* english;
};
constexpr OwnWords kOtherBytes = {"其他字节", "其他位元組", "Other bytes"};
constexpr OwnWords kAt = {"地址", "位址", "at"};
constexpr OwnWords kNoDifferences = {"没有不同之处。", "沒有不同之處。", "No differences."};

std::string Word(const OwnWords& words, int16_t language) {
  switch (language) {
    case kLangSimplifiedChinese:
      return words.simplified;
    case kLangTraditionalChinese:
      return words.traditional;
    default:
      return words.english;
  }
}

// The grid's column titles, from the layout's header format.
std::vector<std::string> ColumnTitles(const ChannelLayout& layout) {
  std::vector<std::string> titles;
  std::string title;
  std::istringstream format(layout.format);
  while (std::getline(format, title, '|')) titles.push_back(title);
  return titles;
}

std::string BandText(const DiffSide& side, const SoftFace& texts) {
  const std::string range =
      MegahertzText(side.band.lower) + " - " + MegahertzText(side.band.upper) + " MHz";
  if (side.bandPosition >= 0 && side.bandPosition < static_cast<int>(kBandList.size())) {
    return range;
  }
  return TextOrEnglish(texts, msg::kCustomBand) + " " + range;
}

// Channel n's field in grid column `column` as text.
std::string FieldText(const ChannelRow& row, int column, const Session& session, DiffTexts style) {
  const auto tone = [&](const std::string& text) {
    return style == DiffTexts::Script && text == session.Tones().OffText() ? std::string("None")
                                                                           : text;
  };
  // An empty channel shows nothing but its missing frequency, as in the channel grid.
  if (row.field[1] < 0 && column != 1) return "-";
  switch (column) {
    case 1:
    case 2:
      return MegahertzText(row.field[static_cast<std::size_t>(column)]);
    case 3:
      return tone(row.rxTone);
    case 4:
      return row.field[2] < 0 ? std::string("-") : tone(row.txTone);
    default: {
      const int32_t v = row.field[static_cast<std::size_t>(column)];
      const std::string item =
          v >= 0 && v <= 46 ? session.Layout().FieldText(column, 3 + v) : std::string();
      return item.empty() ? std::to_string(v) : item;
    }
  }
}

// The bytes the reported changes account for: `before`'s image with `after`'s model, band,
// changed channels and changed options written into it the way a save writes them.
MemoryImage WithReportedChanges(const DiffSide& before, const DiffSide& after,
                                const ImageDiff& diff, const Session& session) {
  MemoryImage image = before.image;
  ErrorReport quiet;
  quiet.Guard("image diff", [&] {
    if (diff.model) image.set(kModelAddress, after.image.at(kModelAddress));
    if (diff.band) {
      for (int a = kBandAddress; a < kBandAddress + 4; ++a) image.set(a, after.image.at(a));
    }
  });
  for (const ChannelChange& change : diff.channels) {
    quiet.Guard("image diff", [&] {
      EncodeChannel(change.number, after.channels[change.number], session.Tones(), image, quiet);
    });
  }
  if (diff.options.empty()) return image;
  OptionValues values = before.options;
  for (const OptionChange& change : diff.options) {
    const auto slot = static_cast<std::size_t>(change.slot);
    values.OptSel[slot] = after.options.OptSel[slot];
  }
  quiet.Guard("image diff", [&] { OptSelToSave(values, image); });
  // The voice chip and the crystal are never written by a save; their bytes are theirs.
  quiet.Guard("image diff", [&] {
    for (const OptionChange& change : diff.options) {
      if (change.slot == 9) {
        image.set(0x03FE, static_cast<uint8_t>((image.at(0x03FE) & ~0x03) |
                                               (after.image.at(0x03FE) & 0x03)));
      } else if (change.slot == 10) {
        image.set(0x03D8, after.image.at(0x03D8));
        image.set(0x03D3, after.image.at(0x03D3));
      }
    }
  });
  return image;
}

std::string HexBytes(const std::vector<uint8_t>& bytes) {
  std::string text;
  for (const uint8_t byte : bytes) {
    if (!text.empty()) text += ' ';
    text += HexText(byte, 2);
  }
  return text;
}

// "0500-0501", or "0500" for a single byte.
std::string RangeText(const ByteChange& change) {
  const int last = change.start + static_cast<int>(change.before.size()) - 1;
  const std::string first = HexText(static_cast<uint32_t>(change.start), 4);
  return last == change.start ? first : first + "-" + HexText(static_cast<uint32_t>(last), 4);
}

void ChangeJson(std::ostringstream& out, const FieldChange& change) {
  out << "{\"column\": " << change.column << ", \"name\": " << JsonString(change.name)
      << ", \"old\": " << JsonString(change.before) << ", \"new\": " << JsonString(change.after)
      << "}";
}

}  // namespace

std::string MegahertzText(int32_t value) {
  if (value < 0) return "-";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%d.%05d", value / 100000, value % 100000);
  return buffer;
}

DiffSide SideOf(const Session& session, MemoryImage image) {
  return DiffSide{std::move(image), session.Channels(), session.Options(), session.Band(),
                  session.BandPosition()};
}

ImageDiff CompareSides(const DiffSide& before, const DiffSide& after, const Session& session,
                       DiffTexts style) {
  ImageDiff diff;
  const SoftFace& texts = session.Texts();
  ErrorReport quiet;
  quiet.Guard("image diff", [&] {
    const int oldModel = before.image.at(kModelAddress);
    const int newModel = after.image.at(kModelAddress);
    if (oldModel != newModel) {
      diff.model = FieldChange{0, TextOrEnglish(texts, msg::kModelLabel), std::to_string(oldModel),
                               std::to_string(newModel)};
    }
  });
  const std::string oldBand = BandText(before, texts);
  const std::string newBand = BandText(after, texts);
  if (oldBand != newBand) {
    diff.band = FieldChange{0, TextOrEnglish(texts, 372), oldBand, newBand};
  }

  const ChannelLayout& layout = session.Layout();
  const std::vector<std::string> titles = ColumnTitles(layout);
  if (!titles.empty() && !titles[0].empty()) diff.channelWord = titles[0];
  const int channels = std::min<int>(layout.ChCount, kImageChannels);
  const int lastColumn = std::min<int>(layout.ColCount, kFieldCount - 1);
  for (int n = 1; n <= channels; ++n) {
    ChannelChange change{n, {}};
    for (int column = 1; column <= lastColumn; ++column) {
      const std::string old = FieldText(before.channels[n], column, session, style);
      const std::string now = FieldText(after.channels[n], column, session, style);
      if (old == now) continue;
      const auto index = static_cast<std::size_t>(column);
      change.fields.push_back(
          {column, index < titles.size() ? titles[index] : std::to_string(column), old, now});
    }
    if (!change.fields.empty()) diff.channels.push_back(std::move(change));
  }

  for (int slot = 0; slot < kOptionCount; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    const int old = before.options.OptSel[index];
    const int now = after.options.OptSel[index];
    if (old == now) continue;
    diff.options.push_back({slot, TextOrEnglish(texts, OptionCaptionNumber(slot)), old, now,
                            OptionValueText(slot, old, texts), OptionValueText(slot, now, texts)});
  }

  // Every other byte that differs, in runs of consecutive addresses.
  const MemoryImage accounted = WithReportedChanges(before, after, diff, session);
  const int last = std::min(before.image.DatNum(), after.image.DatNum());
  for (int a = 0; a <= last; ++a) {
    const uint8_t old = before.image.bytes()[static_cast<std::size_t>(a)];
    const uint8_t now = after.image.bytes()[static_cast<std::size_t>(a)];
    if (old == now || accounted.bytes()[static_cast<std::size_t>(a)] == now) continue;
    if (diff.bytes.empty() ||
        diff.bytes.back().start + static_cast<int>(diff.bytes.back().before.size()) != a) {
      diff.bytes.push_back({a, {}, {}});
    }
    diff.bytes.back().before.push_back(old);
    diff.bytes.back().after.push_back(now);
  }
  return diff;
}

std::string DiffText(const ImageDiff& diff, int16_t language) {
  std::ostringstream out;
  for (const std::optional<FieldChange>* change : {&diff.model, &diff.band}) {
    if (*change) {
      out << (*change)->name << "  " << (*change)->before << " -> " << (*change)->after << "\n";
    }
  }
  for (const ChannelChange& channel : diff.channels) {
    out << diff.channelWord << " " << channel.number;
    for (const FieldChange& field : channel.fields) {
      out << "  " << field.name << " " << (field.before.empty() ? "\"\"" : field.before) << " -> "
          << (field.after.empty() ? "\"\"" : field.after);
    }
    out << "\n";
  }
  for (const OptionChange& option : diff.options) {
    out << option.name << "  " << option.beforeText << " -> " << option.afterText << "\n";
  }
  for (const ByteChange& bytes : diff.bytes) {
    out << Word(kOtherBytes, language) << " " << Word(kAt, language) << " " << RangeText(bytes)
        << "  " << HexBytes(bytes.before) << " -> " << HexBytes(bytes.after) << "\n";
  }
  return out.str();
}

std::string NoDifferencesText(int16_t language) {
  return Word(kNoDifferences, language);
}

std::string DiffJson(const ImageDiff& diff) {
  std::ostringstream out;
  out << "{\"equal\": " << (diff.Equal() ? "true" : "false") << ", \"model\": ";
  if (diff.model) {
    ChangeJson(out, *diff.model);
  } else {
    out << "null";
  }
  out << ", \"band\": ";
  if (diff.band) {
    ChangeJson(out, *diff.band);
  } else {
    out << "null";
  }
  out << ", \"channels\": [";
  for (std::size_t k = 0; k < diff.channels.size(); ++k) {
    if (k > 0) out << ", ";
    out << "{\"number\": " << diff.channels[k].number << ", \"fields\": [";
    for (std::size_t f = 0; f < diff.channels[k].fields.size(); ++f) {
      if (f > 0) out << ", ";
      ChangeJson(out, diff.channels[k].fields[f]);
    }
    out << "]}";
  }
  out << "], \"options\": [";
  for (std::size_t k = 0; k < diff.options.size(); ++k) {
    const OptionChange& option = diff.options[k];
    if (k > 0) out << ", ";
    out << "{\"slot\": " << option.slot << ", \"name\": " << JsonString(option.name)
        << ", \"old\": " << option.before << ", \"new\": " << option.after
        << ", \"old_text\": " << JsonString(option.beforeText)
        << ", \"new_text\": " << JsonString(option.afterText) << "}";
  }
  out << "], \"bytes\": [";
  for (std::size_t k = 0; k < diff.bytes.size(); ++k) {
    if (k > 0) out << ", ";
    out << "{\"range\": \"" << RangeText(diff.bytes[k]) << "\", \"old\": \""
        << HexBytes(diff.bytes[k].before) << "\", \"new\": \"" << HexBytes(diff.bytes[k].after)
        << "\"}";
  }
  out << "]}\n";
  return out.str();
}

}  // namespace tq
