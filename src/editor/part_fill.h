// The partial fill of frmPartFill: one byte value written into every address of a range of the
// memory image and shown in the memory grid, and the start and end addresses the dialog
// remembers between openings. The dialog holds the fields; the rules live here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tq {

class MemoryGrid;

// The highest address a fill may reach (the image may end earlier).
inline constexpr int kFillLastAddress = 0x1FFF;

// How the fill value is written: the entries "H", "D" and "B" of cboFillData.
enum class FillMode { Hex, Decimal, Binary };

// The dialog's fields as the user left them.
struct PartFillFields {
  std::string fillData = "FF";     // txtFillData
  FillMode mode = FillMode::Hex;   // cboFillData
  std::string startAddr = "0000";  // txtStartAddr, hexadecimal
  std::string endAddr = "1FFF";    // txtEndAddr, hexadecimal
};

// The addresses remembered for the whole run; they only pre-fill the address fields when the
// dialog opens. Start 0; no end until one is typed, shown as "1FFF".
struct PartFillAddresses {
  int16_t start = 0;
  std::optional<int16_t> end;

  // Each change of a field's text stores its hexadecimal value (up to FFFF, kept in 16 bits:
  // "FFFF" is -1 and shows as "FFFF" again). A text that is not hexadecimal, the empty text
  // included, or that exceeds FFFF keeps the last address.
  void txtStartAddr_Change(std::string_view text);
  void txtEndAddr_Change(std::string_view text);

  // Opening the dialog: entry "H" selected, the address fields rewritten as four upper-case
  // hexadecimal digits; the fill value stays as the user left it.
  void Form_Load(PartFillFields& fields) const;
};

enum class FillOutcome {
  Filled,      // the range was written and copied back
  EmptyRange,  // start above end: nothing written (the grid is still copied back)
  Rejected,    // reported under "frmPartFill->cmdFillData_Click"; nothing written
};

// "Fill" (cmdFillData_Click). The value comes from the fill text by its mode: "H" through
// H_To_B and B_To_D, "D" as a decimal whole number, "B" through B_To_D; above 255 it becomes
// 255. Start and end are read like an "H" value. Every address from start to end takes the
// value in the image and, in two-digit form, in its grid cell; then the grid is copied back into
// the image (GridDataTemp).
// Rejected before anything is written, each with one report: a decimal value that is not a whole
// number (13), a negative value (6), a range reaching past 0x1FFF or past the image's last
// address (9). The range is only checked when start is not above end.
FillOutcome PartFill(MemoryGrid& grid, const PartFillFields& fields);

}  // namespace tq
