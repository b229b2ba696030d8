#include "editor/part_fill.h"

#include <algorithm>
#include <cmath>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/numbers.h"
#include "editor/memory_grid.h"
#include "image/memory_image.h"

namespace tq {
namespace {

constexpr const char* kLabel = "frmPartFill->cmdFillData_Click";
constexpr const char* kSource = "frmPartFill";

// A field's address as a fill reads it: its hexadecimal digits, other characters ignored.
int FieldAddress(std::string_view text) {
  return B_To_D(H_To_B(text));
}

// The fill value of the fields, clamped to a byte; throws Failure for a value it cannot use.
uint8_t FillValue(const PartFillFields& fields) {
  double value = 0;
  switch (fields.mode) {
    case FillMode::Hex:
      value = B_To_D(H_To_B(fields.fillData));
      break;
    case FillMode::Binary:
      value = B_To_D(fields.fillData);
      break;
    case FillMode::Decimal: {
      const std::optional<double> number = ParseDecimal(fields.fillData);
      if (!number || *number != std::floor(*number)) {
        throw Failure(err::kTypeMismatch, kSource,
                      "fill value \"" + fields.fillData + "\" is not a whole number");
      }
      value = *number;
      break;
    }
  }
  if (value < 0) {
    throw Failure(err::kOverflow, kSource, "fill value \"" + fields.fillData + "\" is negative");
  }
  return static_cast<uint8_t>(std::min(value, 255.0));
}

std::optional<int16_t> RememberedAddress(std::string_view text) {
  const std::optional<uint32_t> value = ParseHex(text);
  if (!value || *value > 0xFFFFu) return std::nullopt;
  return WrapToInt16(*value);
}

std::string AddressText(int16_t address) {
  return HexText(static_cast<uint16_t>(address), 4);
}

}  // namespace

void PartFillAddresses::txtStartAddr_Change(std::string_view text) {
  if (const auto address = RememberedAddress(text)) start = *address;
}

void PartFillAddresses::txtEndAddr_Change(std::string_view text) {
  if (const auto address = RememberedAddress(text)) end = *address;
}

void PartFillAddresses::Form_Load(PartFillFields& fields) const {
  fields.mode = FillMode::Hex;
  fields.startAddr = AddressText(start);
  fields.endAddr = end ? AddressText(*end) : "1FFF";
}

FillOutcome PartFill(MemoryGrid& grid, const PartFillFields& fields) {
  MemoryImage& image = grid.image();
  uint8_t value = 0;
  int start = 0;
  int end = 0;
  const bool accepted = grid.report().Guard(kLabel, [&] {
    value = FillValue(fields);
    start = FieldAddress(fields.startAddr);
    end = FieldAddress(fields.endAddr);
    const int last = std::min(kFillLastAddress, image.DatNum());
    if (start <= end && end > last) {
      throw Failure(err::kIndexOutOfRange, kSource,
                    "range " + HexText(static_cast<uint32_t>(start), 4) + "-" +
                        HexText(static_cast<uint32_t>(end), 4) + " reaches past " +
                        HexText(static_cast<uint32_t>(last), 4));
    }
  });
  if (!accepted) return FillOutcome::Rejected;
  for (int a = start; a <= end; ++a) image.set(a, value);
  for (int a = start; a <= end; ++a) grid.ShowByteAt(a, value);
  grid.GridDataTemp();
  return start <= end ? FillOutcome::Filled : FillOutcome::EmptyRange;
}

}  // namespace tq
