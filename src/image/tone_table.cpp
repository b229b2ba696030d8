#include "image/tone_table.h"

#include <array>
#include <cmath>
#include <limits>

#include "base/failure.h"
#include "base/numbers.h"

namespace tq {
namespace {

constexpr std::array<const char*, kCtcssCount> kCtcss = {
    "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
    "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
    "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "159.8", "162.2", "165.5", "167.9",
    "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6", "199.5",
    "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

constexpr std::array<const char*, kDcsCount> kDcs = {
    "023", "025", "026", "031", "032", "036", "043", "047", "051", "053", "054", "065",
    "071", "072", "073", "074", "114", "115", "116", "122", "125", "131", "132", "134",
    "143", "145", "152", "155", "156", "162", "165", "172", "174", "205", "212", "223",
    "225", "226", "243", "244", "245", "246", "251", "252", "255", "261", "263", "265",
    "266", "271", "274", "306", "311", "315", "325", "331", "332", "343", "346", "351",
    "356", "364", "365", "371", "411", "412", "413", "423", "431", "432", "445", "446",
    "452", "454", "455", "462", "464", "465", "466", "503", "506", "516", "523", "526",
    "532", "546", "565", "606", "612", "624", "627", "631", "632", "645", "654", "662",
    "664", "703", "712", "723", "731", "732", "734", "743", "754"};

// The CTCSS words span 60.0 to 265.0 Hz; the DCS words carry a 9-bit code behind a fixed
// marker, bit 15 telling inverted from normal.
constexpr int kCtcssLowest = 600;
constexpr int kCtcssHighest = 2650;
constexpr int kDcsNormalFirst = 0x2800;
constexpr int kDcsNormalLast = 0x29FF;
constexpr int kDcsInvertedFirst = 0xA800;
constexpr int kDcsInvertedLast = 0xA9FF;

std::vector<std::string> DcsTexts(char suffix) {
  std::vector<std::string> texts;
  texts.reserve(kDcs.size());
  for (const char* code : kDcs) texts.push_back(std::string("D") + code + suffix);
  return texts;
}

// The CTCSS text of a word in tenths of a hertz (1001 gives "100.1").
std::string CtcssText(long long tenths) {
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// The first `count` characters of `text`, each as its UTF-8 bytes; missing characters are
// empty, so a short entry never reads past its end.
std::vector<std::string_view> FirstCharacters(std::string_view text, std::size_t count) {
  std::vector<std::string_view> chars(count);
  std::size_t i = 0;
  for (std::size_t k = 0; k < count && i < text.size(); ++k) {
    std::size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) ++end;
    chars[k] = text.substr(i, end - i);
    i = end;
  }
  return chars;
}

bool IsOctalDigit(std::string_view c) {
  return c.size() == 1 && c[0] >= '0' && c[0] <= '7';
}

// The digit value of a one-character text; anything that is not a decimal digit counts as 0.
int DigitValue(std::string_view c) {
  return c.size() == 1 && c[0] >= '0' && c[0] <= '9' ? c[0] - '0' : 0;
}

// The DCS suffix a typed character asks for: inverted for "I" or "i", normal otherwise.
char SuffixOf(std::string_view c) {
  return c == "I" || c == "i" ? 'I' : 'N';
}

}  // namespace

std::string ToneOffText(long long language) {
  if (language == 1) return "无";
  if (language == 2) return "無";
  return "None";
}

const std::vector<std::string>& CtcssTexts() {
  static const std::vector<std::string> texts(kCtcss.begin(), kCtcss.end());
  return texts;
}

const std::vector<std::string>& DcsNormalTexts() {
  static const std::vector<std::string> texts = DcsTexts('N');
  return texts;
}

const std::vector<std::string>& DcsInvertedTexts() {
  static const std::vector<std::string> texts = DcsTexts('I');
  return texts;
}

ToneTable::ToneTable(long long language) : offText_(ToneOffText(language)) {
  list_.reserve(kToneCount);
  list_.push_back(offText_);
  for (const auto* part : {&CtcssTexts(), &DcsNormalTexts(), &DcsInvertedTexts()}) {
    list_.insert(list_.end(), part->begin(), part->end());
  }
}

const std::string& ToneTable::Text(int index) const {
  if (index < 0 || index >= kToneCount) {
    throw Failure(err::kIndexOutOfRange, "ToneTable", "tone index " + std::to_string(index));
  }
  return list_[static_cast<std::size_t>(index)];
}

std::string ToneTable::QtDqtIicToChar(uint8_t high, uint8_t low) const {
  const int word = high * 256 + low;
  if (word >= kCtcssLowest && word <= kCtcssHighest) return CtcssText(word);
  const bool normal = word >= kDcsNormalFirst && word <= kDcsNormalLast;
  const bool inverted = word >= kDcsInvertedFirst && word <= kDcsInvertedLast;
  if (!normal && !inverted) return offText_;
  const int d1 = (high & 0x01) * 4 + (low >> 6);
  const int d2 = (low >> 3) & 0x07;
  const int d3 = low & 0x07;
  std::string text = "D";
  text += static_cast<char>('0' + d1);
  text += static_cast<char>('0' + d2);
  text += static_cast<char>('0' + d3);
  text += normal ? 'N' : 'I';
  return text;
}

std::pair<uint8_t, uint8_t> ToneTable::QtDqtCharToIic(std::string_view text) const {
  if (text.empty() || text == offText_) return {0xFF, 0xFF};
  if (const auto number = ParseDecimal(text)) {
    const double tenths = RoundHalfEven(*number * 10.0);
    if (!(tenths >= 0.0 && tenths <= 65535.0)) {
      throw Failure(err::kOverflow, "QtDqtCharToIic",
                    "tone \"" + std::string(text) + "\" does not fit a tone word");
    }
    const auto word = static_cast<unsigned>(tenths);
    return {static_cast<uint8_t>(word % 256), static_cast<uint8_t>(word / 256)};
  }
  // A DCS text "Dddd" + suffix. The editor only stores canonical texts; anything else still
  // yields some word (non-digits count as 0, the suffix defaults to inverted) instead of failing.
  const auto c = FirstCharacters(text, 5);
  const int code = 2048 + DigitValue(c[1]) * 64 + DigitValue(c[2]) * 8 + DigitValue(c[3]);
  const int high = code / 256 + (c[4] == "N" ? 0x20 : 0xA0);
  return {static_cast<uint8_t>(code % 256), static_cast<uint8_t>(high)};
}

std::string ToneTable::Normalise(std::string_view typed) const {
  const auto c = FirstCharacters(typed, 5);
  if (const auto number = ParseDecimal(typed)) {
    const double tenths = RoundHalfEven(*number * 10.0);
    if (!(tenths >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          tenths <= static_cast<double>(std::numeric_limits<int32_t>::max()))) {
      throw Failure(err::kOverflow, "Normalise",
                    "tone \"" + std::string(typed) + "\" is too large");
    }
    const auto n = static_cast<long long>(tenths);
    if (n >= kCtcssLowest && n <= kCtcssHighest) return CtcssText(n);
    // Any other number is read as a DCS code typed without its "D".
    if (!IsOctalDigit(c[0]) || !IsOctalDigit(c[1]) || !IsOctalDigit(c[2])) return offText_;
    return "D" + std::string(c[0]) + std::string(c[1]) + std::string(c[2]) + "N";
  }
  // "D" + three octal digits + suffix, or the same without the leading "D".
  const std::size_t first = c[0] == "D" ? 1 : 0;
  for (std::size_t k = first; k < first + 3; ++k) {
    if (!IsOctalDigit(c[k])) return offText_;
  }
  std::string text = "D";
  for (std::size_t k = first; k < first + 3; ++k) text += c[k];
  text += SuffixOf(c[first + 3]);
  return text;
}

}  // namespace tq
