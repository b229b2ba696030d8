// Typed frequency and tone texts through the channel grid, as the channel window hands them over.
// The first byte picks the band; then each line is one entry: its first byte picks the channel
// (1 to 16) and the column (receive or transmit frequency, receive or transmit tone), the rest is
// the text typed. Properties:
//   - a committed frequency is shown as the channel holds it, lies on the channel step, and
//     typing the shown text again changes nothing in the channel or its row of cells;
//   - a tone left in the tone box is shown and held in its normalised form, which is a fixed
//     point of the normalisation and survives text -> tone word -> text;
//   - after all entries, the channels survive the image: a save folds them into the data file
//     and opening that file gives back every channel with a receive frequency, its frequencies
//     and the tones the grid shows, and every other channel empty.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/channel_grid.h"
#include "image/band.h"
#include "image/channel_table.h"
#include "image/tone_table.h"
#include "session/session.h"
#include "support/fuzz_support.h"
#include "support/started_program.h"
#include "support/temp_folder.h"

namespace {

using tq::fuzzing::Require;

constexpr int kChannels = 16;
constexpr int kBands = 11;  // band list positions 0 to 10; the custom band needs its dialog

std::vector<std::string> RowTexts(const tq::ChannelGrid& grid, int r) {
  std::vector<std::string> texts;
  for (int c = 0; c < grid.columns(); ++c) texts.push_back(grid.cell(r, c).text);
  return texts;
}

// The user clicks the cell and, when the grid lets the edit start, leaves `text` in it.
void TypeIntoCell(tq::ChannelGrid& grid, int r, int c, const std::string& text) {
  grid.vsfgGridCh_Click(r, c);
  if (grid.vsfgGridCh_BeforeEdit(r, c)) grid.vsfgGridCh_AfterEdit(r, c, text);
}

void CheckFrequency(tq::Session& doc, tq::ChannelGrid& grid, int r, int c) {
  const int32_t f = doc.Channels()[r].field[static_cast<std::size_t>(c)];
  if (f == -1) return;
  const std::string shown = grid.cell(r, c).text;
  Require(shown == tq::FrequencyText(f), "a committed frequency shows as the channel holds it");
  Require(tq::ModifyTxRxFre(f) == f, "a committed frequency lies on a channel step");

  const tq::ChannelRow row = doc.Channels()[r];
  const std::vector<std::string> cells = RowTexts(grid, r);
  TypeIntoCell(grid, r, c, shown);
  Require(doc.Channels()[r] == row, "typing the shown frequency again leaves the channel");
  Require(RowTexts(grid, r) == cells, "typing the shown frequency again leaves the row's cells");
}

void CheckTone(tq::Session& doc, tq::ChannelGrid& grid, int r, int c, const std::string& typed) {
  grid.vsfgGridCh_Click(r, c);
  // The box may still be open on another cell: a click that could not store the tone left in
  // the box (a number too large) is reported and stops there. What is typed goes to the box's
  // cell.
  const tq::ToneBox& box = grid.toneBox();
  if (!box.visible || (box.col != 3 && box.col != 4)) return;
  const int boxRow = box.row;
  const int boxCol = box.col;
  const std::size_t reports = doc.Report().lines().size();
  grid.SetToneBoxText(typed);
  grid.cboGridChCtdcs_LostFocus(typed);
  // A number too large for a tone is reported and stored nowhere.
  if (doc.Report().lines().size() != reports) return;

  const tq::ToneTable& tones = doc.Tones();
  const std::string shown = grid.cell(boxRow, boxCol).text;
  const tq::ChannelRow& row = doc.Channels()[boxRow];
  // A tone left on a channel without a receive frequency clears the channel.
  if (row.field[1] == -1) {
    Require(shown.empty() && row.rxTone.empty(), "a tone without a frequency clears the channel");
    return;
  }
  Require(shown == (boxCol == 3 ? row.rxTone : row.txTone),
          "the tone cell shows the channel's tone");
  Require(tones.Normalise(shown) == shown, "a normalised tone is a fixed point");
  const auto [low, high] = tones.QtDqtCharToIic(shown);
  Require(tones.QtDqtIicToChar(high, low) == shown, "a normalised tone survives its tone word");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  tq::fuzzing::StartedProgram& program = tq::fuzzing::SharedProgram();
  tq::Session& doc = program.doc;
  tq::fuzzing::InputReader input(data, size);

  // A new data set: the default image's channels, every one empty.
  doc.NewFileSol();
  doc.cboFrequency_Click(input.Byte() % kBands);
  tq::ChannelGrid grid(doc);
  grid.SetChGrid();
  grid.ShowChTblGrid();
  Require(grid.rows() == kChannels + 1, "the grid has a row per channel");

  while (!input.empty()) {
    const uint8_t pick = input.Byte();
    const int c = 1 + pick % 4;
    const int r = 1 + (pick / 4) % kChannels;
    const std::string text = input.Line();
    if (c <= 2) {
      TypeIntoCell(grid, r, c, text);
      CheckFrequency(doc, grid, r, c);
    } else {
      CheckTone(doc, grid, r, c, text);
    }
  }

  std::vector<tq::ChannelRow> typed;
  for (int n = 1; n <= kChannels; ++n) typed.push_back(doc.Channels()[n]);
  const std::filesystem::path file = program.home / "channels.dat";
  // Written fresh: ext4 flushes a file that replaces another one to disk at once.
  std::filesystem::remove(file);
  Require(doc.SaveAs(file), "the typed channels save");
  Require(doc.OpenDataFile(file), "the saved channels open");
  for (int n = 1; n <= kChannels; ++n) {
    const tq::ChannelRow& before = typed[static_cast<std::size_t>(n - 1)];
    const tq::ChannelRow& after = doc.Channels()[n];
    // A channel without a receive frequency is empty in the image, whatever else the table
    // still holds for it (a receive entry too large for a frequency leaves the transmit side).
    if (before.field[1] == -1) {
      Require(after.field[1] == -1 && after.field[2] == -1, "an empty channel stays empty");
      continue;
    }
    Require(after.field[1] == before.field[1] && after.field[2] == before.field[2],
            "the frequencies survive the data file");
    Require(after.rxTone == before.rxTone, "the receive tone survives the data file");
    // A receive-only channel shows no transmit tone; the text the table keeps for it is not data.
    if (before.field[2] == -1) continue;
    Require(after.txTone == before.txTone, "the transmit tone survives the data file");
  }
  return 0;
}
