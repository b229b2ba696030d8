#include "editor/memory_grid.h"

#include <algorithm>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "image/memory_image.h"

namespace tq {
namespace {

constexpr const char* kSource = "vsfgGridMemDat";
constexpr int kMaxBinaryValue = 32767;

// Header texts of row 0, from the format "Addr|0|1|...|F".
const std::array<std::string, kMemDataColumns + 1> kHeaders = {
    "Addr", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"};

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The value of a hexadecimal digit of either case, -1 for any other byte.
int HexDigit(unsigned char c) noexcept {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The digit value of every byte: a hexadecimal digit of either case gives its value, every other
// byte 0.
constexpr std::array<uint8_t, 256> kNibble = [] {
  std::array<uint8_t, 256> table{};
  for (int c = '0'; c <= '9'; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<uint8_t>(c - '0');
  for (int c = 'A'; c <= 'F'; ++c) {
    table[static_cast<std::size_t>(c)] = static_cast<uint8_t>(c - 'A' + 10);
    table[static_cast<std::size_t>(c - 'A' + 'a')] = static_cast<uint8_t>(c - 'A' + 10);
  }
  return table;
}();

// The value of a text of at most four ASCII characters, read as nibbles; -1 for any other text.
int ShortAsciiValue(const std::string& text) noexcept {
  const std::size_t size = text.size();
  if (size > 4) return -1;
  const char* d = text.data();
  int value = 0;
  for (std::size_t k = 0; k < size; ++k) {
    const auto c = static_cast<unsigned char>(d[k]);
    if ((c & 0x80u) != 0) return -1;
    value = value * 16 + kNibble[c];
  }
  return value;
}

// The failure of a cell whose text does not fit a byte.
Failure CellFailure(int address, const std::string& text) {
  return Failure(
      err::kOverflow, kSource,
      "address " + HexText(static_cast<uint32_t>(address), 4) + " holds \"" + text + "\"");
}

// A byte that continues a UTF-8 character rather than starting one.
bool IsContinuation(unsigned char c) noexcept {
  return (c & 0xC0u) == 0x80u;
}

// The value of a whole cell text read as hexadecimal, a character that is not a digit counting
// as 0; anything above 255 is returned as 256, which no byte equals.
int CellByteValue(std::string_view text) noexcept {
  int value = 0;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsContinuation(c)) continue;
    value = value * 16 + std::max(HexDigit(c), 0);
    if (value > 255) return 256;
  }
  return value;
}

// Writes the two-digit form of `value` into `text`, reusing its buffer.
void AssignByte(std::string& text, uint8_t value) {
  const char digits[2] = {kHexDigits[value >> 4], kHexDigits[value & 0x0F]};
  text.assign(digits, 2);
}

}  // namespace

std::string FormatByteDat(uint8_t value) {
  std::string text;
  AssignByte(text, value);
  return text;
}

std::array<uint8_t, 4> SeparateChar(std::string_view text, ErrorReport& report) {
  std::array<uint8_t, 4> nibbles{};
  std::size_t characters = 0;
  // Walk from the right end, one UTF-8 character at a time.
  std::size_t end = text.size();
  while (end > 0) {
    std::size_t start = end - 1;
    while (start > 0 && IsContinuation(static_cast<unsigned char>(text[start]))) --start;
    if (characters < nibbles.size()) {
      const int digit = end - start == 1 ? HexDigit(static_cast<unsigned char>(text[start])) : -1;
      nibbles[characters] = static_cast<uint8_t>(std::max(digit, 0));
    }
    ++characters;
    end = start;
  }
  if (characters > nibbles.size()) {
    report.ShowErrLine("frmMemDat->SeparateChar",
                       Failure(err::kIndexOutOfRange, kSource,
                               "more than four characters: \"" + std::string(text) + "\""));
  }
  return nibbles;
}

std::string H_To_B(std::string_view text) {
  static constexpr const char* kBits[16] = {"0000", "0001", "0010", "0011", "0100", "0101",
                                            "0110", "0111", "1000", "1001", "1010", "1011",
                                            "1100", "1101", "1110", "1111"};
  std::string binary;
  binary.reserve(text.size() * 4);
  for (const char ch : text) {
    const int digit = HexDigit(static_cast<unsigned char>(ch));
    if (digit >= 0) binary += kBits[digit];
  }
  return binary;
}

int16_t B_To_D(std::string_view binary) {
  int value = 0;
  for (const char ch : binary) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsContinuation(c)) continue;
    const int digit = c >= '0' && c <= '9' ? c - '0' : 0;
    value = std::min(2 * value + digit, kMaxBinaryValue);
  }
  return static_cast<int16_t>(value);
}

std::string B_To_BitShow(std::string_view binary) {
  // Built from the right end; each bit goes in front of what is built so far.
  std::string shown;
  int i = 0;
  for (auto it = binary.rbegin(); it != binary.rend(); ++it, ++i) {
    std::string bit = "B" + std::to_string(i) + ":";
    bit += *it;
    bit += ' ';
    shown.insert(0, bit);
    if (i == 3) shown.insert(0, "  ");
  }
  return shown;
}

std::string CellTipText(int address, std::string_view cellText) {
  std::string upper(cellText);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const std::string binary = H_To_B(upper);
  std::string tip = "地址为: 0x";
  tip += HexText(static_cast<uint32_t>(address), 4);
  tip += "    二进制:";
  tip += binary;
  tip += "    ";
  tip += B_To_BitShow(binary);
  tip += "    十进制";
  tip += std::to_string(B_To_D(binary));
  tip += "    \r\n";
  return tip;
}

MemoryGrid::MemoryGrid(MemoryImage& image, ErrorReport& report) : image_(image), report_(report) {}

void MemoryGrid::SetGridMemDat(int16_t tableMaxAddr) {
  maxAddr_ = tableMaxAddr;
  const int rows = tableMaxAddr < 0 ? 0 : tableMaxAddr / kMemDataColumns + 1;
  const auto cells = static_cast<std::size_t>(rows) * kMemDataColumns;
  texts_.assign(cells, std::string());
  colours_.assign(cells, kMemBlack);
  labels_.clear();
  labels_.reserve(static_cast<std::size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    labels_.push_back(HexText(static_cast<uint32_t>(r * kMemDataColumns), 4) + "H");
  }
  current_ = rows > 0 ? MemCellPos{1, 1} : MemCellPos{0, 0};
  lastMarked_.reset();
}

std::optional<MemCellPos> MemoryGrid::TableFreDat() {
  lastMarked_.reset();
  int marked = -1;
  report_.Guard("modMemDat->TableFreDat", [this, &marked] {
    std::fill(colours_.begin(), colours_.end(), kMemBlack);
    // Straight over the buffers: this runs after every transfer over all 8192 cells.
    const uint8_t* bytes = image_.bytes().data();
    const int last = std::min(static_cast<int>(maxAddr_), image_.DatNum());
    std::string* texts = texts_.data();
    int32_t* colours = colours_.data();
    for (int a = 0; a <= last; ++a) {
      std::string& text = texts[a];
      const uint8_t byte = bytes[a];
      if (text.size() == 2 && ((text[0] | text[1]) & 0x80) == 0) {
        // The usual two-digit text is read and rewritten in place.
        char* d = text.data();
        if (kNibble[static_cast<unsigned char>(d[0])] * 16 +
                kNibble[static_cast<unsigned char>(d[1])] !=
            byte) {
          colours[a] = kMemRed;
          marked = a;
        }
        d[0] = kHexDigits[byte >> 4];
        d[1] = kHexDigits[byte & 0x0F];
        continue;
      }
      if (!text.empty()) {
        const int old = CellByteValue(text);
        if (old > 255) throw CellFailure(a, text);
        if (old != byte) {
          colours[a] = kMemRed;
          marked = a;
        }
      }
      AssignByte(text, byte);
    }
    if (maxAddr_ > last) {
      throw Failure(err::kIndexOutOfRange, "IicDat",
                    "address " + HexText(static_cast<uint32_t>(last + 1), 4));
    }
  });
  if (marked >= 0) {
    lastMarked_ = MemCellPos{marked / kMemDataColumns + 1, marked % kMemDataColumns + 1};
    current_ = *lastMarked_;
  }
  return lastMarked_;
}

bool MemoryGrid::GridDataTemp() {
  return report_.Guard("frmMemDat->GridDataTemp", [this] {
    uint8_t* bytes = image_.bytes().data();
    const int last = image_.DatNum();
    const std::string* texts = texts_.data();
    for (int a = 0; a <= maxAddr_; ++a) {
      const std::string& text = texts[a];
      int value = ShortAsciiValue(text);
      if (value < 0) {
        const std::array<uint8_t, 4> n = SeparateChar(text, report_);
        value = n[3] * 4096 + n[2] * 256 + n[1] * 16 + n[0];
      }
      if (value > 255) throw CellFailure(a, text);
      if (a > last) {
        image_.set(a, static_cast<uint8_t>(value));  // past the image's end: Failure 9
      } else {
        bytes[a] = static_cast<uint8_t>(value);
      }
    }
  });
}

void MemoryGrid::SetCellText(int row, int col, std::string text) {
  if (row < 1 || col < 1) {
    throw Failure(err::kIndexOutOfRange, kSource,
                  "cell " + std::to_string(row) + "," + std::to_string(col) + " is fixed");
  }
  texts_[Index(row, col)] = std::move(text);
}

bool MemoryGrid::vsfgGridMemDat_AfterEdit(int row, int col, std::string text) {
  SetCellText(row, col, std::move(text));
  return GridDataTemp();
}

void MemoryGrid::SetDefCol() {
  std::fill(colours_.begin(), colours_.end(), kMemBlack);
}

std::optional<std::string> MemoryGrid::CellTipHint(int32_t row, int32_t col) {
  if (row < 1 || col < 1 || row > RowCount() || col > kMemDataColumns) return std::nullopt;
  current_ = MemCellPos{row, col};
  const std::string& text = texts_[Index(row, col)];
  if (text.empty()) return std::nullopt;
  toolTip_ = CellTipText(kMemDataColumns * (row - 1) + col - 1, text);
  return toolTip_;
}

std::size_t MemoryGrid::Index(int row, int col) const {
  if (row < 1 || row > RowCount() || col < 1 || col > kMemDataColumns) {
    throw Failure(err::kIndexOutOfRange, kSource,
                  "cell " + std::to_string(row) + "," + std::to_string(col));
  }
  return static_cast<std::size_t>((row - 1) * kMemDataColumns + col - 1);
}

const std::string& MemoryGrid::Text(int row, int col) const {
  if (row == 0 && col >= 0 && col <= kMemDataColumns)
    return kHeaders[static_cast<std::size_t>(col)];
  if (col == 0 && row >= 1 && row <= RowCount()) return labels_[static_cast<std::size_t>(row - 1)];
  return texts_[Index(row, col)];
}

int32_t MemoryGrid::Colour(int row, int col) const {
  if ((row == 0 && col >= 0 && col <= kMemDataColumns) ||
      (col == 0 && row >= 1 && row <= RowCount()))
    return kMemBlack;
  return colours_[Index(row, col)];
}

bool MemoryGrid::HoldsAddress(int row, int col) const noexcept {
  if (row < 1 || row > RowCount() || col < 1 || col > kMemDataColumns) return false;
  return (row - 1) * kMemDataColumns + col - 1 <= maxAddr_;
}

const std::string& MemoryGrid::TextAt(int address) const {
  if (address < 0)
    throw Failure(err::kIndexOutOfRange, kSource, "address " + std::to_string(address));
  return Text(address / kMemDataColumns + 1, address % kMemDataColumns + 1);
}

int32_t MemoryGrid::ColourAt(int address) const {
  if (address < 0)
    throw Failure(err::kIndexOutOfRange, kSource, "address " + std::to_string(address));
  return Colour(address / kMemDataColumns + 1, address % kMemDataColumns + 1);
}

bool MemoryGrid::ShowsImage() const noexcept {
  if (maxAddr_ > image_.DatNum()) return false;
  const uint8_t* bytes = image_.bytes().data();
  for (int a = 0; a <= maxAddr_; ++a) {
    const std::string& text = texts_[static_cast<std::size_t>(a)];
    const uint8_t byte = bytes[a];
    if (text.size() != 2 || text[0] != kHexDigits[byte >> 4] ||
        text[1] != kHexDigits[byte & 0x0F]) {
      return false;
    }
  }
  return true;
}

void MemoryGrid::ShowByteAt(int address, uint8_t value) {
  if (address < 0 || address > maxAddr_) return;
  AssignByte(texts_[static_cast<std::size_t>(address)], value);
}

}  // namespace tq
