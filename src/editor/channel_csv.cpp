#include "editor/channel_csv.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <set>

#include "base/numbers.h"
#include "base/settings_file.h"
#include "editor/channel_grid.h"
#include "image/band.h"
#include "image/channel_table.h"
#include "image/tone_table.h"

namespace tq {
namespace {

constexpr int kCsvChannels = 16;

std::vector<int> EnterRows(ChannelGrid& grid, ChannelData& data, CsvRows& rows);
constexpr const char* kCsvSection = "Csv";

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// A number with `decimals` places and a dot, whatever the locale ("88.5", "146.520000").
std::string Fixed(double value, int decimals) {
  char text[64];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  return error == std::errc() ? std::string(text, end) : std::string("0");
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : text) {
    if (c == separator) {
      parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  parts.push_back(part);
  return parts;
}

// Megahertz with six decimals from 10 Hz units ("146.520000").
std::string Mhz6(int32_t tenHz) {
  char text[32];
  std::snprintf(text, sizeof text, "%d.%05d0", tenHz / 100000, tenHz % 100000);
  return text;
}

// A tone text of the channel table in CSV terms.
struct CsvTone {
  enum Kind { kNone, kTone, kDcs } kind = kNone;
  std::string ctcss = "88.5";  // "%.1f"
  std::string code = "023";    // three octal digits
  char polarity = 'N';         // N normal, R reversed
};

CsvTone ToneOf(const std::string& text, const ToneTable& tones) {
  CsvTone tone;
  if (text.empty() || text == tones.OffText()) return tone;
  if (text.size() == 5 && text[0] == 'D') {
    tone.kind = CsvTone::kDcs;
    tone.code = text.substr(1, 3);
    tone.polarity = text[4] == 'I' ? 'R' : 'N';
    return tone;
  }
  if (const std::optional<double> hz = ParseDecimal(text)) {
    tone.kind = CsvTone::kTone;
    tone.ctcss = Fixed(*hz, 1);
  }
  return tone;
}

std::string Quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string out = "\"";
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

// The grid's column titles.
std::vector<std::string> Titles(const ChannelLayout& layout) {
  return Split(layout.format, '|');
}

std::string WattsText(double watts) {
  return Fixed(watts, watts >= 10 ? 0 : 1) + "W";
}

// ---- reading ----------------------------------------------------------------------------

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool ValidUtf8(std::string_view text) {
  for (std::size_t k = 0; k < text.size();) {
    const auto c = static_cast<unsigned char>(text[k]);
    std::size_t length = 0;
    uint32_t code = 0;
    if (c < 0x80) {
      ++k;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      code = c & 0x07;
    } else {
      return false;
    }
    if (k + length > text.size()) return false;
    for (std::size_t j = 1; j < length; ++j) {
      const auto next = static_cast<unsigned char>(text[k + j]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF))) {
      return false;
    }
    k += length;
  }
  return true;
}

struct Record {
  int line = 0;
  std::vector<std::string> fields;
};

// Splits the text into records of fields: quotes may hold separators, doubled quotes and line
// breaks; CR LF and LF both end a record.
std::vector<Record> Records(std::string_view text, char separator) {
  std::vector<Record> records;
  Record record;
  std::string field;
  bool quoted = false;
  bool any = false;
  int line = 1;
  record.line = 1;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (quoted) {
      if (c == '"' && k + 1 < text.size() && text[k + 1] == '"') {
        field += '"';
        ++k;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        field += c;
      }
      continue;
    }
    if (c == '"') {
      quoted = true;
      any = true;
    } else if (c == separator) {
      record.fields.push_back(field);
      field.clear();
      any = true;
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
      if (any || !field.empty()) {
        record.fields.push_back(field);
        records.push_back(record);
      }
      record = Record{};
      field.clear();
      any = false;
      record.line = ++line;
    } else {
      field += c;
    }
  }
  if (any || !field.empty()) {
    record.fields.push_back(field);
    records.push_back(record);
  }
  return records;
}

// A number as people write it: spaces around, a decimal comma.
std::optional<double> Number(std::string text) {
  text = std::string(Trim(text));
  if (text.find('.') == std::string::npos) std::replace(text.begin(), text.end(), ',', '.');
  return ParseDecimal(text);
}

class RowReader {
 public:
  RowReader(const ChannelData& data, const CsvMapping& mapping,
            const std::vector<std::string>& header)
      : data_(data), mapping_(mapping) {
    for (std::size_t k = 0; k < header.size(); ++k) {
      columns_.push_back(Lower(Trim(header[k])));
    }
  }

  bool Has(const char* name) const {
    return std::find(columns_.begin(), columns_.end(), Lower(name)) != columns_.end();
  }

  // Reads one record; false with a problem when the row cannot be taken, or when it is to be
  // skipped (no frequency) with `skip` set.
  bool Read(const Record& record, CsvChannel& channel, CsvProblem& problem, bool& skip) {
    fields_ = &record.fields;
    channel.line = record.line;
    problem.line = record.line;
    skip = false;
    const auto refuse = [&](const char* column, std::string reason) {
      problem.column = column;
      problem.reason = std::move(reason);
      return false;
    };

    const std::string frequency = Field("Frequency");
    const std::optional<double> rx = Number(frequency);
    if (frequency.empty() || (rx && *rx == 0)) {
      skip = true;
      return false;
    }
    if (!rx || *rx < 0) return refuse("Frequency", "\"" + frequency + "\" is not a frequency");
    if (*rx > 1000) {
      return refuse("Frequency", frequency + " is not in MHz (kHz or Hz are not guessed)");
    }
    channel.rx = Mhz(*rx);

    const std::string location = Field("Location");
    if (!location.empty()) {
      const std::optional<double> n = Number(location);
      if (!n || *n != std::floor(*n) || *n < 1 || *n > kCsvChannels) {
        return refuse("Location", location + " is not a channel of this radio (1 to 16)");
      }
      channel.location = static_cast<int>(*n);
    }

    const std::string duplex = Lower(Field("Duplex"));
    const std::string offsetText = Field("Offset");
    const std::optional<double> offset = Number(offsetText);
    if (duplex.empty()) {
      channel.tx = channel.rx;
    } else if (duplex == "off") {
      channel.tx.clear();
    } else if (duplex == "+" || duplex == "-" || duplex == "split") {
      if (!offset) return refuse("Offset", "\"" + offsetText + "\" is not a frequency");
      const double tx = duplex == "split" ? *offset : duplex == "+" ? *rx + *offset : *rx - *offset;
      if (tx <= 0 || tx > 1000) {
        return refuse("Offset", "the transmit frequency " + Mhz(tx) + " MHz is not usable");
      }
      channel.tx = Mhz(tx);
    } else {
      return refuse("Duplex", "\"" + Field("Duplex") + "\" is not one of +, -, split, off");
    }

    if (!Tones(channel, problem)) return false;
    if (!Items(channel, problem)) return false;
    return true;
  }

 private:
  std::string Field(const char* name) const {
    const auto at = std::find(columns_.begin(), columns_.end(), Lower(name));
    if (at == columns_.end()) return {};
    const auto k = static_cast<std::size_t>(at - columns_.begin());
    return k < fields_->size() ? std::string(Trim((*fields_)[k])) : std::string();
  }

  static std::string Mhz(double mhz) { return Fixed(mhz, 6); }

  // A CTCSS column as a tone text; "" when it is not one.
  std::optional<std::string> Ctcss(const char* column, CsvProblem& problem) const {
    const std::string text = Field(column);
    const std::optional<double> hz = Number(text.empty() ? "88.5" : text);
    if (!hz || *hz < 50 || *hz > 300) {
      problem.column = column;
      problem.reason = "\"" + text + "\" is not a CTCSS tone (50 to 300 Hz)";
      return std::nullopt;
    }
    return Fixed(*hz, 1);
  }

  std::optional<std::string> Dcs(const char* column, char polarity, CsvProblem& problem) const {
    std::string code = Field(column);
    if (code.empty()) code = "023";
    const bool octal =
        code.size() <= 3 && !code.empty() &&
        std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '7'; });
    if (!octal) {
      problem.column = column;
      problem.reason = "\"" + code + "\" is not a DCS code (three octal digits)";
      return std::nullopt;
    }
    while (code.size() < 3) code.insert(code.begin(), '0');
    return "D" + code + (polarity == 'R' ? "I" : "N");
  }

  bool Tones(CsvChannel& channel, CsvProblem& problem) const {
    const std::string off = data_.Tones().OffText();
    const std::string mode = Lower(Field("Tone"));
    std::string polarity = Field("DtcsPolarity");
    if (polarity.empty()) polarity = "NN";
    for (char& c : polarity) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (polarity.size() != 2 || (polarity[0] != 'N' && polarity[0] != 'R') ||
        (polarity[1] != 'N' && polarity[1] != 'R')) {
      problem.column = "DtcsPolarity";
      problem.reason = "\"" + Field("DtcsPolarity") + "\" is not NN, NR, RN or RR";
      return false;
    }
    channel.rxTone = off;
    channel.txTone = off;
    if (mode.empty()) return true;
    if (mode == "tone" || mode == "tsql") {
      const auto tone = Ctcss(mode == "tone" ? "rToneFreq" : "cToneFreq", problem);
      if (!tone) return false;
      channel.txTone = *tone;
      if (mode == "tsql") channel.rxTone = *tone;
      return true;
    }
    if (mode == "dtcs") {
      const auto tx = Dcs("DtcsCode", polarity[0], problem);
      const auto rx = Dcs("DtcsCode", polarity[1], problem);
      if (!tx || !rx) return false;
      channel.txTone = *tx;
      channel.rxTone = *rx;
      return true;
    }
    if (mode == "cross") {
      const std::string cross = Field("CrossMode").empty() ? "Tone->Tone" : Field("CrossMode");
      const auto arrow = cross.find("->");
      const std::string txKind = Lower(cross.substr(0, arrow));
      const std::string rxKind = arrow == std::string::npos ? "?" : Lower(cross.substr(arrow + 2));
      const auto side = [&](const std::string& kind, bool transmit) -> std::optional<std::string> {
        if (kind.empty()) return off;
        if (kind == "tone") return Ctcss(transmit ? "rToneFreq" : "cToneFreq", problem);
        if (kind == "dtcs") {
          return Dcs(transmit ? "DtcsCode" : "RxDtcsCode", polarity[transmit ? 0 : 1], problem);
        }
        problem.column = "CrossMode";
        problem.reason = "\"" + cross + "\" is not a cross mode";
        return std::nullopt;
      };
      const auto tx = side(txKind, true);
      if (!tx) return false;
      const auto rx = side(rxKind, false);
      if (!rx) return false;
      channel.txTone = *tx;
      channel.rxTone = *rx;
      return true;
    }
    problem.column = "Tone";
    problem.reason = "\"" + Field("Tone") + "\" cannot be set on this radio";
    return false;
  }

  int32_t DefaultOf(int column) const {
    const std::optional<double> value = ParseDecimal(data_.Layout().FieldText(column, 2));
    return value ? static_cast<int32_t>(*value) : 0;
  }

  int32_t ItemCount(int column) const {
    const std::optional<double> value = ParseDecimal(data_.Layout().FieldText(column, 1));
    return value ? static_cast<int32_t>(*value) : 0;
  }

  bool Items(CsvChannel& channel, CsvProblem& problem) const {
    const ChannelLayout& layout = data_.Layout();
    const int last = std::min<int>(layout.ColCount, kFieldCount - 1);
    std::vector<int32_t> values(static_cast<std::size_t>(last + 1), -1);
    for (int column = 5; column <= last; ++column) {
      values[static_cast<std::size_t>(column)] = DefaultOf(column);
    }
    const auto set = [&](int column, int32_t value) {
      if (column >= 5 && column <= last && value >= 0 && value < ItemCount(column)) {
        values[static_cast<std::size_t>(column)] = value;
      }
    };
    // Fields without a column of their own travel in Comment as "title=item".
    const std::vector<std::string> titles = Titles(layout);
    for (const std::string& pair : Split(Field("Comment"), ';')) {
      const auto equals = pair.find('=');
      if (equals == std::string::npos) continue;
      const std::string name(Trim(pair.substr(0, equals)));
      const std::string item(Trim(pair.substr(equals + 1)));
      for (int column = 5; column <= last; ++column) {
        if (static_cast<std::size_t>(column) >= titles.size() ||
            titles[static_cast<std::size_t>(column)] != name)
          continue;
        for (int32_t v = 0; v < ItemCount(column); ++v) {
          if (layout.FieldText(column, 3 + v) == item) set(column, v);
        }
      }
    }

    const std::string mode = Field("Mode");
    if (!mode.empty()) {
      const auto at = std::find_if(mapping_.modeItems.begin(), mapping_.modeItems.end(),
                                   [&](const std::string& m) { return Lower(m) == Lower(mode); });
      if (at == mapping_.modeItems.end()) {
        problem.column = "Mode";
        problem.reason = "\"" + mode + "\" is not a mode of this radio";
        return false;
      }
      set(mapping_.modeField, static_cast<int32_t>(at - mapping_.modeItems.begin()));
    }

    const std::string power = Lower(Field("Power"));
    if (!power.empty() && !mapping_.powerWatts.empty()) {
      std::optional<std::size_t> level;
      const auto lowest = std::min_element(mapping_.powerWatts.begin(), mapping_.powerWatts.end());
      const auto highest = std::max_element(mapping_.powerWatts.begin(), mapping_.powerWatts.end());
      if (power == "low") {
        level = static_cast<std::size_t>(lowest - mapping_.powerWatts.begin());
      } else if (power == "high") {
        level = static_cast<std::size_t>(highest - mapping_.powerWatts.begin());
      } else {
        std::string number = power;
        if (!number.empty() && number.back() == 'w') number.pop_back();
        const std::optional<double> watts = Number(number);
        if (!watts || *watts < 0) {
          problem.column = "Power";
          problem.reason = "\"" + Field("Power") + "\" is not a power (watts, Low or High)";
          return false;
        }
        double best = 1e300;
        for (std::size_t k = 0; k < mapping_.powerWatts.size(); ++k) {
          const double distance = std::fabs(mapping_.powerWatts[k] - *watts);
          if (distance < best) {
            best = distance;
            level = k;
          }
        }
      }
      if (level) set(mapping_.powerField, static_cast<int32_t>(*level));
    }

    const std::string skip = Lower(Field("Skip"));
    if (skip == "s" || skip == "p") {
      set(mapping_.scanField, mapping_.skipItem);
    } else if (Has("Skip")) {
      int32_t scan = DefaultOf(mapping_.scanField);
      if (scan == mapping_.skipItem) scan = mapping_.skipItem == 0 ? 1 : 0;
      set(mapping_.scanField, scan);
    }

    for (int column = 5; column <= last; ++column) {
      if (column == 11) continue;  // the name column is never shown
      channel.items.emplace_back(column, values[static_cast<std::size_t>(column)]);
    }
    return true;
  }

  const ChannelData& data_;
  const CsvMapping& mapping_;
  std::vector<std::string> columns_;
  const std::vector<std::string>* fields_ = nullptr;
};

}  // namespace

CsvMapping ReadCsvMapping(const SettingsFile& settings) {
  CsvMapping mapping;
  const auto number = [&](const char* key, int& value) {
    const std::optional<double> read = ParseDecimal(settings.ReadSetting(kCsvSection, key, "", 64));
    if (read && *read >= 0 && *read < kFieldCount) value = static_cast<int>(*read);
  };
  number("ModeField", mapping.modeField);
  number("PowerField", mapping.powerField);
  number("ScanField", mapping.scanField);
  number("SkipItem", mapping.skipItem);
  const std::string modes = settings.ReadSetting(kCsvSection, "ModeItems", "", 256);
  if (!modes.empty()) mapping.modeItems = Split(modes, '|');
  const std::string watts = settings.ReadSetting(kCsvSection, "PowerWatts", "", 256);
  if (!watts.empty()) {
    std::vector<double> levels;
    for (const std::string& text : Split(watts, '|')) {
      if (const std::optional<double> w = ParseDecimal(text)) levels.push_back(*w);
    }
    if (!levels.empty()) mapping.powerWatts = levels;
  }
  return mapping;
}

const std::vector<std::string>& CsvColumns() {
  static const std::vector<std::string> columns = {
      "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
      "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
      "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};
  return columns;
}

std::string ChannelsToCsv(const ChannelData& data, const CsvMapping& mapping,
                          const std::vector<int>& only) {
  std::string out;
  for (std::size_t k = 0; k < CsvColumns().size(); ++k) {
    out += (k == 0 ? "" : ",") + CsvColumns()[k];
  }
  out += "\n";
  const ChannelLayout& layout = data.Layout();
  const std::vector<std::string> titles = Titles(layout);
  const int last = std::min<int>(layout.ColCount, kFieldCount - 1);
  const int channels = std::min<int>(layout.ChCount, kCsvChannels);
  for (int n = 1; n <= channels; ++n) {
    const ChannelRow& row = data.Channels()[n];
    const int32_t rx = row.field[1];
    const int32_t tx = row.field[2];
    if (rx < 0) continue;
    if (!only.empty() && std::find(only.begin(), only.end(), n) == only.end()) continue;
    std::string duplex;
    std::string offset = "0.000000";
    if (tx < 0) {
      duplex = "off";
    } else if (tx != rx) {
      const int32_t shift = tx > rx ? tx - rx : rx - tx;
      if (shift <= 1000000) {  // up to 10 MHz: a repeater shift
        duplex = tx > rx ? "+" : "-";
        offset = Mhz6(shift);
      } else {
        duplex = "split";
        offset = Mhz6(tx);
      }
    }
    const CsvTone txTone = tx < 0 ? CsvTone{} : ToneOf(row.txTone, data.Tones());
    const CsvTone rxTone = ToneOf(row.rxTone, data.Tones());
    std::string tone;
    std::string crossMode = "Tone->Tone";
    std::string rTone = "88.5";
    std::string cTone = "88.5";
    std::string code = "023";
    std::string rxCode = "023";
    std::string polarity = "NN";
    const auto same = [](const CsvTone& a, const CsvTone& b) {
      return a.kind == b.kind && (a.kind != CsvTone::kTone || a.ctcss == b.ctcss) &&
             (a.kind != CsvTone::kDcs || (a.code == b.code && a.polarity == b.polarity));
    };
    if (txTone.kind == CsvTone::kNone && rxTone.kind == CsvTone::kNone) {
      // no tone
    } else if (txTone.kind == CsvTone::kTone && rxTone.kind == CsvTone::kNone) {
      tone = "Tone";
      rTone = txTone.ctcss;
    } else if (txTone.kind == CsvTone::kTone && same(txTone, rxTone)) {
      tone = "TSQL";
      rTone = cTone = txTone.ctcss;
    } else if (txTone.kind == CsvTone::kDcs && rxTone.kind == CsvTone::kDcs &&
               txTone.code == rxTone.code) {
      tone = "DTCS";
      code = rxCode = txTone.code;
      polarity = {txTone.polarity, rxTone.polarity};
    } else {
      tone = "Cross";
      const auto kind = [](const CsvTone& t) {
        return t.kind == CsvTone::kTone ? "Tone" : t.kind == CsvTone::kDcs ? "DTCS" : "";
      };
      crossMode = std::string(kind(txTone)) + "->" + kind(rxTone);
      if (txTone.kind == CsvTone::kTone) rTone = txTone.ctcss;
      if (rxTone.kind == CsvTone::kTone) cTone = rxTone.ctcss;
      if (txTone.kind == CsvTone::kDcs) code = txTone.code;
      if (rxTone.kind == CsvTone::kDcs) rxCode = rxTone.code;
      polarity = {txTone.kind == CsvTone::kDcs ? txTone.polarity : 'N',
                  rxTone.kind == CsvTone::kDcs ? rxTone.polarity : 'N'};
    }
    const auto item = [&](int column) {
      return column >= 5 && column <= last ? row.field[static_cast<std::size_t>(column)] : -1;
    };
    const int32_t modeValue = item(mapping.modeField);
    const std::string mode =
        modeValue >= 0 && static_cast<std::size_t>(modeValue) < mapping.modeItems.size()
            ? mapping.modeItems[static_cast<std::size_t>(modeValue)]
        : mapping.modeItems.empty() ? "FM"
                                    : mapping.modeItems.back();
    const int32_t powerValue = item(mapping.powerField);
    const double watts =
        powerValue >= 0 && static_cast<std::size_t>(powerValue) < mapping.powerWatts.size()
            ? mapping.powerWatts[static_cast<std::size_t>(powerValue)]
        : mapping.powerWatts.empty() ? 5.0
                                     : mapping.powerWatts.back();
    const bool skipped = item(mapping.scanField) == mapping.skipItem;
    const bool fine = rx % 500 != 0 && rx % 625 == 0;  // on the 6.25 kHz raster only
    std::string comment;
    for (int column = 5; column <= last; ++column) {
      if (column == mapping.modeField || column == mapping.powerField ||
          column == mapping.scanField || column == 11) {
        continue;
      }
      const int32_t v = item(column);
      const std::string text = v >= 0 ? layout.FieldText(column, 3 + v) : std::string();
      if (text.empty() || static_cast<std::size_t>(column) >= titles.size()) continue;
      comment +=
          (comment.empty() ? "" : "; ") + titles[static_cast<std::size_t>(column)] + "=" + text;
    }
    const std::vector<std::string> fields = {std::to_string(n),
                                             "",
                                             Mhz6(rx),
                                             duplex,
                                             offset,
                                             tone,
                                             rTone,
                                             cTone,
                                             code,
                                             polarity,
                                             rxCode,
                                             crossMode,
                                             mode,
                                             fine ? "6.25" : "5.00",
                                             skipped ? "S" : "",
                                             WattsText(watts),
                                             comment,
                                             "",
                                             "",
                                             "",
                                             ""};
    for (std::size_t k = 0; k < fields.size(); ++k) out += (k == 0 ? "" : ",") + Quoted(fields[k]);
    out += "\n";
  }
  return out;
}

CsvRows ParseChannelCsv(std::string_view text, const ChannelData& data, const CsvMapping& mapping) {
  CsvRows rows;
  if (text.size() > kCsvMaxBytes) {
    rows.why = "the file is too large for a channel list";
    return rows;
  }
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  if (!ValidUtf8(text) || text.find('\0') != std::string_view::npos) {
    rows.why = "the file is not UTF-8 text";
    return rows;
  }
  // The header is the first line that is neither empty nor a comment.
  std::size_t start = 0;
  int headerLine = 1;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    const std::string_view line = Trim(
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (!line.empty() && line[0] != '#') break;
    if (end == std::string_view::npos) {
      start = text.size();
      break;
    }
    start = end + 1;
    ++headerLine;
  }
  const std::size_t headerEnd = text.find('\n', start);
  const std::string_view header = text.substr(
      start, headerEnd == std::string_view::npos ? std::string_view::npos : headerEnd - start);
  // Commas, or what a spreadsheet uses instead: semicolons in a file, tabs on the clipboard.
  char separator = ',';
  for (const char other : {';', '\t'}) {
    if (std::count(header.begin(), header.end(), other) >
        std::count(header.begin(), header.end(), separator)) {
      separator = other;
    }
  }
  std::vector<Record> records = Records(text.substr(start), separator);
  if (records.empty()) {
    rows.why = "the file holds no header line";
    return rows;
  }
  for (Record& record : records) record.line += headerLine - 1;
  RowReader reader(data, mapping, records.front().fields);
  if (!reader.Has("Frequency")) {
    rows.why = "the header has no Frequency column";
    return rows;
  }
  rows.readable = true;
  for (std::size_t k = 1; k < records.size(); ++k) {
    const Record& record = records[k];
    if (!record.fields.empty() && !record.fields[0].empty() && Trim(record.fields[0])[0] == '#')
      continue;
    CsvChannel channel;
    CsvProblem problem;
    bool skip = false;
    if (reader.Read(record, channel, problem, skip)) {
      rows.channels.push_back(std::move(channel));
    } else if (!skip) {
      rows.problems.push_back(std::move(problem));
    }
  }
  return rows;
}

std::vector<int> EnterCsvChannels(ChannelGrid& grid, ChannelData& data, CsvRows& rows) {
  // The whole import is one step for Undo.
  data.BeginChange();
  const std::vector<int> written = EnterRows(grid, data, rows);
  data.EndChange();
  return written;
}

std::vector<int> PasteCsvChannels(ChannelGrid& grid, ChannelData& data, CsvRows& rows, int first) {
  // Pasted rows go to the channels from `first` on, whatever their Location said.
  int n = first;
  for (CsvChannel& channel : rows.channels) channel.location = n++;
  return EnterCsvChannels(grid, data, rows);
}

namespace {

std::vector<int> EnterRows(ChannelGrid& grid, ChannelData& data, CsvRows& rows) {
  std::vector<int> written;
  std::set<int> taken;
  for (const CsvChannel& channel : rows.channels) {
    if (channel.location != 0) taken.insert(channel.location);
  }
  std::set<int> used;
  int next = 1;
  const int channels = std::min<int>(data.Layout().ChCount, kCsvChannels);
  for (const CsvChannel& channel : rows.channels) {
    int n = channel.location;
    if (n != 0 && used.count(n) != 0) {
      rows.problems.push_back(
          {channel.line, "Location", true,
           "channel " + std::to_string(n) + " is given twice; the first row keeps it"});
      continue;
    }
    if (n == 0) {
      while (next <= channels && (taken.count(next) != 0 || used.count(next) != 0 ||
                                  data.Channels()[next].field[1] >= 0))
        ++next;
      if (next > channels) {
        rows.problems.push_back(
            {channel.line, "Location", true, "no free channel is left (the radio holds 16)"});
        continue;
      }
      n = next;
    }
    if (n > channels) {
      rows.problems.push_back(
          {channel.line, "Location", true, std::to_string(n) + " is not a channel of this radio"});
      continue;
    }
    used.insert(n);
    grid.vsfgGridCh_AfterEdit(n, 1, channel.rx);
    grid.vsfgGridCh_AfterEdit(n, 2, channel.tx);
    grid.vsfgGridCh_Click(n, 3);
    grid.cboGridChCtdcs_LostFocus(channel.rxTone);
    if (!channel.tx.empty()) {
      grid.vsfgGridCh_Click(n, 4);
      grid.cboGridChCtdcs_LostFocus(channel.txTone);
    }
    const ChannelLayout& layout = data.Layout();
    for (const auto& [column, value] : channel.items) {
      grid.vsfgGridCh_AfterEdit(n, column, layout.FieldText(column, 3 + value));
    }
    grid.vsfgGridCh_Click(n, 5);
    grid.EndEditing();
    written.push_back(n);
    const BandLimits& band = data.Band();
    const ChannelRow& row = data.Channels()[n];
    for (const int field : {1, 2}) {
      const int32_t f = row.field[static_cast<std::size_t>(field)];
      if (f >= 0 && (f < band.lower || f > band.upper)) {
        rows.problems.push_back(
            {channel.line, field == 1 ? "Frequency" : "Offset", false,
             (field == 1 ? "the receive frequency " : "the transmit frequency ") +
                 FrequencyText(f) + " MHz is outside the band " + FrequencyText(band.lower) +
                 " - " + FrequencyText(band.upper) + " MHz (kept, shown out of band)"});
      }
    }
  }
  return written;
}

}  // namespace

std::string CsvProblemText(const std::string& file, const CsvProblem& problem) {
  return file + ":" + std::to_string(problem.line) + ": " + problem.column + ": " + problem.reason;
}

}  // namespace tq
