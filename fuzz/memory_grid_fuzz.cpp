// Texts typed into the memory grid and the partial fill's fields, over the default image. The
// first two bytes give the highest address the grid shows; then each step's first byte picks
// what the user does: type any text into a cell, type a byte in the form the cell shows it,
// refresh the grid, or fill a range (its addresses typed freely or as four hexadecimal digits).
// Properties:
//   - the image stays DatNum + 1 bytes whatever is typed;
//   - a byte typed as the grid shows it lands in the image, and in a grid that showed the image
//     nothing else changes;
//   - a refresh that reports nothing leaves the grid showing the image;
//   - a refused fill writes nothing; a fill starting above its end writes nothing; a fill over a
//     grid that showed the image writes nothing outside its range, one value inside it, and
//     shows that value in the range's cells.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/numbers.h"
#include "editor/memory_grid.h"
#include "editor/part_fill.h"
#include "image/memory_image.h"
#include "support/fuzz_support.h"

namespace {

using tq::fuzzing::Require;

const tq::MemoryImage& DefaultImage() {
  static const tq::MemoryImage image = [] {
    tq::MemoryImage loaded;
    tq::MemoryImage temp;
    tq::InitTempArray(TQ474_PROGRAM_DIR, loaded, temp);
    return loaded;
  }();
  return image;
}

// The highest grid address: mostly the whole image, sometimes less, sometimes beyond it or
// negative (the address box takes any four hexadecimal digits).
int16_t TableMax(tq::fuzzing::InputReader& input) {
  const uint16_t word = input.Word();
  switch (word % 4) {
    case 0:
      return static_cast<int16_t>(word >> 3);  // up to 0x1FFF
    case 1:
      return tq::WrapToInt16(word);
    default:
      return 0x1FFF;
  }
}

class Steps {
 public:
  Steps(const uint8_t* data, std::size_t size) : input_(data, size), grid_(image_, report_) {}

  void Run() {
    grid_.SetGridMemDat(TableMax(input_));
    grid_.TableFreDat();
    while (!input_.empty()) {
      switch (input_.Byte() % 4) {
        case 0:
          TypeAnyText();
          break;
        case 1:
          TypeShownByte();
          break;
        case 2:
          Refresh();
          break;
        default:
          Fill();
          break;
      }
      Require(image_.size() == DefaultImage().size(), "the image keeps its size");
    }
  }

 private:
  // A data cell of the grid, or nothing when the grid has no rows.
  bool PickCell(int& row, int& col) {
    const uint16_t word = input_.Word();
    if (grid_.RowCount() < 1) return false;
    row = 1 + word / tq::kMemDataColumns % grid_.RowCount();
    col = 1 + word % tq::kMemDataColumns;
    return true;
  }

  void TypeAnyText() {
    int row = 0;
    int col = 0;
    if (!PickCell(row, col)) return;
    grid_.vsfgGridMemDat_AfterEdit(row, col, input_.Line());
  }

  void TypeShownByte() {
    int row = 0;
    int col = 0;
    const bool picked = PickCell(row, col);
    const uint8_t value = input_.Byte();
    if (!picked || !grid_.HoldsAddress(row, col)) return;
    const int address = (row - 1) * tq::kMemDataColumns + col - 1;
    const bool showed = grid_.ShowsImage();
    const tq::MemoryImage before = image_;
    const bool copied = grid_.vsfgGridMemDat_AfterEdit(row, col, tq::FormatByteDat(value));
    Require(grid_.TextAt(address) == tq::FormatByteDat(value), "the cell keeps the typed byte");
    if (copied) Require(image_.at(address) == value, "a byte typed as shown lands in the image");
    if (!showed) return;
    Require(copied, "a byte typed into a grid that shows the image is copied");
    Require(grid_.ShowsImage(), "the grid still shows the image");
    tq::MemoryImage expected = before;
    expected.set(address, value);
    Require(image_ == expected, "a typed byte changes only its own address");
  }

  void Refresh() {
    const std::size_t reports = report_.lines().size();
    grid_.TableFreDat();
    if (report_.lines().size() == reports) {
      Require(grid_.ShowsImage(), "a refresh without a report shows the image");
    }
  }

  void Fill() {
    tq::PartFillFields fields;
    const uint8_t how = input_.Byte();
    fields.mode = static_cast<tq::FillMode>(how % 3);
    // Typed addresses are either any text or four hexadecimal digits the check can follow.
    const bool plainRange = (how / 3) % 2 == 0;
    int start = 0;
    int end = 0;
    if (plainRange) {
      start = input_.Word() % 0x2400;
      end = input_.Word() % 0x2400;
      fields.startAddr = tq::HexText(static_cast<uint32_t>(start), 4);
      fields.endAddr = tq::HexText(static_cast<uint32_t>(end), 4);
    } else {
      fields.startAddr = input_.Line();
      fields.endAddr = input_.Line();
    }
    fields.fillData = input_.Line();

    const bool showed = grid_.ShowsImage();
    const tq::MemoryImage before = image_;
    const tq::FillOutcome outcome = tq::PartFill(grid_, fields);
    if (outcome == tq::FillOutcome::Rejected) {
      Require(image_ == before, "a refused fill writes nothing");
      return;
    }
    if (!showed) return;
    if (outcome == tq::FillOutcome::EmptyRange) {
      Require(image_ == before, "a fill that starts above its end writes nothing");
      return;
    }
    Require(grid_.ShowsImage(), "after a fill the grid shows the image");
    if (!plainRange) return;
    Require(start <= end && end <= tq::kFillLastAddress, "only a range inside the image fills");
    const uint8_t value = image_.at(start);
    for (int a = 0; a < static_cast<int>(image_.size()); ++a) {
      if (a >= start && a <= end) {
        Require(image_.at(a) == value, "a fill writes one value over its range");
      } else {
        Require(image_.at(a) == before.at(a), "a fill writes nothing outside its range");
      }
    }
  }

  tq::fuzzing::InputReader input_;
  tq::ErrorReport report_ = tq::fuzzing::FixedTimeReport();
  tq::MemoryImage image_ = DefaultImage();
  tq::MemoryGrid grid_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  Steps(data, size).Run();
  return 0;
}
