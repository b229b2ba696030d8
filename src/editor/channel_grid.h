// The channel grid vsfgGridCh of the channel window as a model of texts and colours: rows 0
// (titles) to ChCount, columns 0 (row labels) to ColCount, with every editing rule of the grid
// (clicks, cell edits, the tone box, double-clicks, the right-button channel menu and the
// channel commands). A Qt view displays the cells and forwards the user's actions; after each
// call it re-reads the getters.
//
//   column  key            shows
//   0       -              row label: "1".."99", "VFO" at row 100, "" above
//   1       RxFre          receive frequency in MHz, shortest decimal ("146.525", "400")
//   2       TxFre          transmit frequency, empty for a receive-only channel
//   3       CtcssDcsDec    receive tone text, edited through the tone box
//   4       CtcssDcsEnc    transmit tone text, empty for a receive-only channel
//   5..N    parameter      item text 3 + v of the field's text list (column 11 never shown)
//
// Colours are Windows colour numbers (red in the low byte): the document's DefColor for a
// frequency inside the band and for emptied cells, OverColor outside it, kRowHighlight for the
// current row, and kGridBackColor (white) for the other channel rows after a highlight.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

class ErrorReport;
class SoftFace;
class ToneTable;
class ChannelTable;
struct ChannelLayout;
struct ChannelRow;
struct BandLimits;

// What the channel grid reads of the run's data, and the changes it makes to it; the session
// provides it. Each change is stored at once and announced by its owner.
class ChannelData {
 public:
  virtual ~ChannelData() = default;
  virtual const ChannelTable& Channels() const = 0;
  virtual const ChannelLayout& Layout() const = 0;
  virtual const ToneTable& Tones() const = 0;
  virtual const SoftFace& Texts() const = 0;
  virtual const BandLimits& Band() const = 0;
  // Cell colours: a frequency inside the band (and an emptied cell), and one outside it.
  virtual int32_t DefColor() const = 0;
  virtual int32_t OverColor() const = 0;
  // The interface lock: while it is on, the grid refuses every edit.
  virtual bool Locked() const = 0;
  virtual ErrorReport& Report() const = 0;
  // Stores channel n's row as the grid changed it.
  virtual void EditChannel(int n, const ChannelRow& row) = 0;
  // The data part of deleting channel n: its record from the template, frequencies none, tones
  // empty.
  virtual void DeleteChannel(int n) = 0;
  // Makes channel n's fields the default channel of the running language, in the layout and in
  // the settings file; a failure of the file throws.
  virtual void SaveDefaultChannel(int n) = 0;
  // The changes between BeginChange and the matching EndChange are one step for Undo.
  virtual void BeginChange() {}
  virtual void EndChange() {}
};

// RGB(230, 230, 240): the current row and the tone box.
inline constexpr int32_t kRowHighlight = 230 + 230 * 256 + 240 * 65536;
// The grid's own back colour, which a highlight gives back to every other channel row.
inline constexpr int32_t kGridBackColor = 0xFFFFFF;

// Told of every change of a cell's text or colour (the view that displays the grid).
class CellObserver {
 public:
  virtual ~CellObserver() = default;
  virtual void CellChanged(int r, int c) = 0;
};

// What the grid lets the user do in the cell being edited.
enum class EditPermission { None, Keyboard, KeyboardAndMouse };

struct GridCell {
  std::string text;
  int32_t back = kGridBackColor;
};

struct CellPos {
  int row = 0;
  int col = 0;
  bool operator==(const CellPos&) const = default;
};

// The tone drop-down cboGridChCtdcs, laid over the open tone cell (row, col) while visible.
struct ToneBox {
  bool visible = false;
  int row = 0;  // the open tone cell; (0, 0) when none
  int col = 0;
  std::string text;
  int32_t back = kGridBackColor;
};

struct MenuItem {
  std::string caption;
  bool visible = false;
  bool enabled = false;
  bool checked = false;
};

// The right-button channel menu mnuPopMenuOne as it should pop up.
struct ChannelMenu {
  bool popUp = false;          // false for a press on a title or label cell: no menu
  int channel = 0;             // the menu channel
  MenuItem openCh;             // mnuOpenCh, "Open channel N"
  MenuItem saveDef;            // mnuSaveDef, "Save as default"
  MenuItem delOne;             // mnuDelOne, "Delete channel N"
  MenuItem delAll;             // mnuDelAll, "Delete all channels"
  bool lockSeparator = false;  // sepPopChLock
  MenuItem popChLock;          // mnuPopChLock, "Lock Channel Interface"
};

// The frequency in 10 Hz units snapped to the nearer channel step, 5 kHz or 6.25 kHz, halves to
// even; on equal distances the 6.25 kHz step wins (14653200 gives 14653125). Throws Failure 6
// when the snapped value does not fit 32 bits.
int32_t ModifyTxRxFre(int32_t f);

// A frequency in 10 Hz units as megahertz in the shortest decimal text (14652500 gives
// "146.525", 40000000 gives "400", 14653125 gives "146.53125").
std::string FrequencyText(int32_t f);

class ChannelGrid {
 public:
  explicit ChannelGrid(ChannelData& data);

  // Builds the grid from the layout: titles from the format text, row labels, widths; selects
  // (1, 1). Reported as "modChMem->SetChGrid:".
  void SetChGrid();
  // Shows the whole channel table; an empty channel shows empty cells.
  void ShowChTblGrid();
  // Show one channel's parameter columns, frequencies and tones (channel 1 to ChCount).
  void ChParaShow(int r);
  void RxFreShow(int r);
  void TxFreShow(int r);
  void CtdcsDecShow(int r);
  void CtdcsEncShow(int r);

  // Grid events, for the cell under the mouse or the grid's current cell (r, c).
  void vsfgGridCh_Click(int r, int c);
  // Returns whether the edit of (r, c) may go on; editPermission() and editList() then say how.
  bool vsfgGridCh_BeforeEdit(int r, int c);
  // Stores the text the user left in (r, c); for a parameter column the chosen item's text.
  void vsfgGridCh_AfterEdit(int r, int c, const std::string& text);
  void vsfgGridCh_DblClick(int r, int c);
  // A right-button press on (r, c). `lockEntryVisible` and `lockChecked` are the visibility and
  // check mark of the main window's channel-lock entry mnuChLock.
  ChannelMenu vsfgGridCh_MouseDown(int r, int c, bool lockEntryVisible, bool lockChecked);

  // The tone box: it gets focus, its text changes as the user types or picks, it loses focus.
  void cboGridChCtdcs_GotFocus();
  void SetToneBoxText(const std::string& text);
  void cboGridChCtdcs_LostFocus(const std::string& boxText);

  // Channel menu commands acting on the menu channel.
  void mnuDelOne_Click();
  void mnuDelAll_Click();
  void mnuOpenCh_Click();
  void mnuSaveDef_Click();

  // Swaps channel n with channel n + delta as one step and selects it in its new place; false
  // (nothing done) while locked or when either is not a channel.
  bool MoveChannel(int n, int delta);
  // Deletes the channels as one step (Cut); nothing while locked.
  void DeleteChannels(const std::vector<int>& channels);

  // Deletes channel n: the data part (record from the template, frequencies none, tones empty)
  // and the grid part (row n emptied with DefColor, tone box hidden).
  void DelOneChannel(int n);

  // The view ends a running cell edit itself (for instance when the interface is locked); the
  // model only drops a pending request to start one. Nothing else changes.
  void EndEditing();

  // The cells, rows 0 to rows() - 1 and columns 0 to columns() - 1; Failure 9 outside.
  int rows() const noexcept { return static_cast<int>(cells_.size()); }
  int columns() const noexcept { return columns_; }
  const GridCell& cell(int r, int c) const;
  // Width of column c and height of every row, in twips (15 twips a pixel at 96 dpi).
  int32_t columnWidth(int c) const;
  int32_t rowHeight() const noexcept { return rowHeight_; }
  // The display format of column c: "###.#####" for frequencies, "#0.00000" for an offset,
  // "00000" for a channel name column, "" otherwise. Every column is centred.
  std::string columnFormat(int c) const;

  // The grid's current (selected) cell.
  CellPos current() const noexcept { return current_; }
  // Set by a click that starts editing a cell at once; the view opens an editor there (and
  // asks vsfgGridCh_BeforeEdit first). Cleared at the start of every event.
  std::optional<CellPos> editRequest() const noexcept { return editRequest_; }
  EditPermission editPermission() const noexcept { return permission_; }
  // The drop-down items ("|"-separated) of the parameter column being edited; "" for a plain
  // text edit.
  const std::string& editList() const noexcept { return editList_; }
  const ToneBox& toneBox() const noexcept { return toneBox_; }
  int menuChannel() const noexcept { return menuChannel_; }

  // The observer told after every change of a cell's text or colour; nullptr for none.
  void SetObserver(CellObserver* observer) noexcept { observer_ = observer; }

 private:
  // Shows channel r's cells from the table; an empty channel shows empty cells.
  void ShowChannel(int r);
  // Runs a user's gesture under `label` as one step of the data's history.
  void Gesture(std::string_view label, const std::function<void()>& action);
  bool HasRx(int r) const;
  bool HasTx(int r) const;
  int ChCount() const;
  int ColCount() const;
  GridCell& At(int r, int c);
  void SetText(int r, int c, std::string text);
  void SetBack(int r, int c, int32_t back);
  void Empty(int r, int c);
  void ShowFrequency(int r, int c, int32_t f);
  int32_t BandColour(int32_t f) const;
  std::string ItemText(int k, int32_t v) const;
  void Select(int r, int c);
  void RequestEdit(int r, int c);
  void Highlight(int r);
  void LostFocus(const std::string& boxText);
  // Runs `change` on a copy of channel r's row and stores the row, also when a failure ends the
  // change early (nothing is rolled back).
  template <typename Change>
  void Edit(int r, Change change);
  void AfterEdit(int r, int c, const std::string& text, ChannelRow& row);
  void DblClick(int r, int c, ChannelRow& row);
  void OpenChannel(int n, ChannelRow& row);
  void ClearChannel(int r, ChannelRow& row);
  void MakeReceiveOnly(int r, ChannelRow& row);
  void StoreFrequency(int r, int c, const std::string& text, ChannelRow& row);
  void CompleteNewChannel(int r, ChannelRow& row);
  int32_t DefaultOf(int f) const;

  ChannelData& data_;
  CellObserver* observer_ = nullptr;
  std::vector<std::vector<GridCell>> cells_;
  int columns_ = 0;
  std::vector<int32_t> widths_;
  int32_t rowHeight_ = 240;
  CellPos current_;
  std::optional<CellPos> editRequest_;
  EditPermission permission_ = EditPermission::None;
  std::string editList_;
  ToneBox toneBox_;
  int menuChannel_ = 0;
};

}  // namespace tq
