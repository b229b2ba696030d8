// The hexadecimal memory grid vsfgGridMemDat of the memory window frmMemDat as a model of texts
// and colours over the memory image: one row per 16 addresses, every byte as two upper-case
// hexadecimal digits, red text for the bytes that changed at the last refresh. A Qt table model
// displays the cells and forwards the user's edits; after each call it re-reads the getters.
//
//   row 0            header: "Addr", "0" .. "F"
//   row r >= 1       label (column 0) "0000H", "0010H", ...; column c (1..16) the byte at
//                    address 16 * (r - 1) + c - 1
//
// The rows cover every address from 0 to the highest address given to SetGridMemDat; the last
// row may hold cells past that address, which are shown empty and are never copied or filled.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

class ErrorReport;
class MemoryImage;

// Text colours of the memory cells (Windows colour numbers, red in the low byte).
inline constexpr int32_t kMemBlack = 0;
inline constexpr int32_t kMemRed = 255;

// Layout of the memory grid: twips (15 a pixel at 96 dpi) and points; every column centred.
inline constexpr int kMemDataColumns = 16;
inline constexpr int32_t kMemRowHeight = 270;
inline constexpr int32_t kMemLabelWidth = 620;
inline constexpr int32_t kMemCellWidth = 420;
inline constexpr int kMemFontPoints = 10;

// A cell of the memory grid in grid coordinates (row 0 and column 0 are the fixed cells).
struct MemCellPos {
  int row = 0;
  int col = 0;
  bool operator==(const MemCellPos&) const = default;
};

// A byte as the cells show it: exactly two upper-case hexadecimal digits (0x0A gives "0A").
std::string FormatByteDat(uint8_t value);

// Splits cell text into four nibbles, element 0 from the rightmost character, element 3 from
// the fourth character from the right; missing characters give 0 and so does any character
// (UTF-8 characters count as one) that is not a hexadecimal digit of either case. A text longer
// than four characters is reported under "frmMemDat->SeparateChar" and its rightmost four
// characters are used.
std::array<uint8_t, 4> SeparateChar(std::string_view text, ErrorReport& report);

// Hexadecimal text as binary digits: each digit 0-9, A-F or a-f gives its four binary digits in
// text order; every other character gives nothing ("fg" gives "1111").
std::string H_To_B(std::string_view text);

// Binary digits as a number: from the left, value = 2 * value + digit. A decimal digit above 1
// adds its own value ("12" gives 4); any other character is a 0 digit. The result saturates:
// once it passes 32767 it stays at 32767, so a long text can never wrap to a negative number.
int16_t B_To_D(std::string_view binary);

// The bit list of binary text: read from its right end, bit i gives "Bi:d " in front of the
// bits after it, with two more blanks in front of bit 3 only (8 bits give
// "B7:1 B6:0 B5:1 B4:0   B3:0 B2:1 B1:0 B0:1 ").
std::string B_To_BitShow(std::string_view binary);

// The tool tip of a cell holding `cellText` at `address`: address, binary, bit list and decimal
// with the fixed Chinese captions, four blanks between the parts, ending in "\r\n".
std::string CellTipText(int address, std::string_view cellText);

class MemoryGrid {
 public:
  MemoryGrid(MemoryImage& image, ErrorReport& report);

  // Lays the grid out for addresses 0 to `tableMaxAddr`: tableMaxAddr / 16 + 1 data rows (so
  // 0x1FFF gives 512 rows, the last labelled "1FF0H", and 0x1FF0 gives the same 512 rows), all
  // cells empty and black, (1, 1) selected. A negative maximum gives no data rows and nothing to
  // select; the current cell is then (0, 0).
  void SetGridMemDat(int16_t tableMaxAddr);

  // Refreshes every cell from the image. All data cells turn black; then, address by address, a
  // cell whose old non-empty text (read as hexadecimal, other characters counting as 0) differs
  // from the image byte turns red and becomes the current cell, and the cell takes the byte's
  // two-digit text. An old text whose value does not fit a byte ends the refresh there (reported
  // under "modMemDat->TableFreDat"); the cells after it keep their texts. Returns the last cell
  // marked red, the one the view selects and scrolls into view; nothing when none changed.
  std::optional<MemCellPos> TableFreDat();

  // Copies every cell of addresses 0 to the maximum back into the image (through SeparateChar).
  // A cell whose value is above 255 stops the copy at its address, reported under
  // "frmMemDat->GridDataTemp": the addresses before it have been copied, the rest have not.
  // Returns whether every address was copied.
  bool GridDataTemp();

  // Sets the text of data cell (row, col) as the user left it; nothing else changes. The window
  // runs GridDataTemp() afterwards (vsfgGridMemDat_AfterEdit does both).
  void SetCellText(int row, int col, std::string text);
  bool vsfgGridMemDat_AfterEdit(int row, int col, std::string text);

  // "Set Def Color": every data cell black.
  void SetDefCol();

  // The tool tip of the cell under the mouse. Selects a data cell; gives nothing for a fixed
  // cell, a cell outside the grid or an empty cell (the view keeps its tip then).
  std::optional<std::string> CellTipHint(int32_t row, int32_t col);

  // Cells. Rows 0 to RowCount(), columns 0 to 16; Failure 9 outside. Row 0 holds the headers,
  // column 0 the row labels; their colour is black.
  int RowCount() const noexcept { return static_cast<int>(labels_.size()); }
  const std::string& Text(int row, int col) const;
  int32_t Colour(int row, int col) const;
  const std::string& RowLabel(int row) const { return Text(row, 0); }
  // Whether data cell (row, col) stands for an address from 0 to the maximum, i.e. whether its
  // text is copied into the image.
  bool HoldsAddress(int row, int col) const noexcept;
  // A width in twips: column 0 is the label column.
  static int32_t ColumnWidth(int col) noexcept { return col == 0 ? kMemLabelWidth : kMemCellWidth; }

  // By address; Failure 9 for an address without a cell.
  const std::string& TextAt(int address) const;
  int32_t ColourAt(int address) const;

  int16_t TableMaxAddr() const noexcept { return maxAddr_; }
  MemCellPos Current() const noexcept { return current_; }
  // The last cell the latest refresh marked red; nothing when it marked none.
  std::optional<MemCellPos> LastMarked() const noexcept { return lastMarked_; }
  // The grid's tool tip as last set by CellTipHint.
  const std::string& ToolTip() const noexcept { return toolTip_; }

  // Whether every cell of addresses 0 to the maximum shows its image byte in the two-digit form;
  // false when the image changed since the grid last showed it, or a typed text was refused.
  bool ShowsImage() const noexcept;

  // Sets the text of the cell at `address` in the two-digit form (the partial fill writes its
  // bytes this way). An address outside 0 to the maximum is skipped.
  void ShowByteAt(int address, uint8_t value);

  MemoryImage& image() noexcept { return image_; }
  ErrorReport& report() noexcept { return report_; }

 private:
  std::size_t Index(int row, int col) const;

  MemoryImage& image_;
  ErrorReport& report_;
  int16_t maxAddr_ = -1;
  // One entry per data cell, indexed by address (16 per row); the texts stay within the short
  // string buffer for every byte text, so a refresh does not allocate.
  std::vector<std::string> texts_;
  std::vector<int32_t> colours_;
  std::vector<std::string> labels_;
  MemCellPos current_;
  std::optional<MemCellPos> lastMarked_;
  std::string toolTip_;
};

}  // namespace tq
