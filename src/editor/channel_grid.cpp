#include "editor/channel_grid.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/message_numbers.h"
#include "base/numbers.h"
#include "base/text_table.h"
#include "image/band.h"
#include "image/channel_table.h"
#include "image/tone_table.h"

namespace tq {
namespace {

constexpr int kSpecialRow = 100;   // the VFO row of a layout with 100 channels or more
constexpr int kNameColumn = 11;    // a column the channel display never writes
constexpr int kHighestItem = 46;   // item texts 3 to 49 carry values 0 to 46
constexpr int32_t kStep5k = 500;   // channel steps in 10 Hz units
constexpr int32_t kStep625 = 625;  // 6.25 kHz

bool IsFrequencyKey(std::string_view key) {
  return key == "RxFre" || key == "TxFre";
}

// A column whose key names no frequency, offset, name or tone: its values are list items.
bool IsParameterKey(std::string_view key) {
  return !IsFrequencyKey(key) && key != "OFFSET" && key != "CHNAME" && key != "CtcssDcsDec" &&
         key != "CtcssDcsEnc";
}

std::vector<std::string> SplitBar(const std::string& text) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = text.find('|', start);
    parts.push_back(text.substr(start, bar - start));
    if (bar == std::string::npos) return parts;
    start = bar + 1;
  }
}

int32_t& Field(ChannelRow& row, int k) {
  if (k < 0 || k >= kFieldCount) {
    throw Failure(err::kIndexOutOfRange, "ChInfo", "field " + std::to_string(k));
  }
  return row.field[static_cast<std::size_t>(k)];
}

int32_t Field(const ChannelRow& row, int k) {
  return Field(const_cast<ChannelRow&>(row), k);
}
}  // namespace

int32_t ModifyTxRxFre(int32_t f) {
  // Worked in whole 10 Hz units: f / 500 is exact at every tie, where MHz multiples of 0.005
  // would not be.
  const auto snapped = [f](int32_t step) {
    return static_cast<long long>(RoundHalfEven(static_cast<double>(f) / step)) * step;
  };
  const long long a = snapped(kStep5k);
  const long long b = snapped(kStep625);
  const long long da = std::llabs(f - a);
  const long long db = std::llabs(f - b);
  return CheckedInt32(da < db ? a : b, "ModifyTxRxFre");
}

std::string FrequencyText(int32_t f) {
  const long long value = f;
  const long long magnitude = std::llabs(value);
  std::string text = (value < 0 ? "-" : "") + std::to_string(magnitude / 100000);
  std::string fraction = std::to_string(100000 + magnitude % 100000).substr(1);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  if (!fraction.empty()) text += "." + fraction;
  return text;
}

ChannelGrid::ChannelGrid(ChannelData& data) : data_(data) {}

void ChannelGrid::Gesture(std::string_view label, const std::function<void()>& action) {
  // Everything one gesture changes is one step for Undo.
  data_.BeginChange();
  data_.Report().Guard(label, action);
  data_.EndChange();
}

template <typename Change>
void ChannelGrid::Edit(int r, Change change) {
  ChannelRow row = data_.Channels()[r];
  try {
    change(row);
  } catch (...) {
    data_.EditChannel(r, row);
    throw;
  }
  data_.EditChannel(r, row);
}

int32_t ChannelGrid::DefaultOf(int f) const {
  return ToInt32(data_.Layout().FieldText(f, 2), "Default" + std::to_string(f));
}

// ---- layout and display -------------------------------------------------------------------

int ChannelGrid::ChCount() const {
  return rows() - 1;
}

int ChannelGrid::ColCount() const {
  return columns_ - 1;
}

void ChannelGrid::SetChGrid() {
  data_.Report().Guard("modChMem->SetChGrid:", [this] {
    const ChannelLayout& layout = data_.Layout();
    const int chCount = layout.ChCount < 0 ? 0 : layout.ChCount;
    const int colCount = layout.ColCount < 0 ? 0 : layout.ColCount;
    columns_ = colCount + 1;
    cells_.assign(static_cast<std::size_t>(chCount) + 1,
                  std::vector<GridCell>(static_cast<std::size_t>(columns_)));
    const std::vector<std::string> titles = SplitBar(layout.format);
    for (int k = 0; k < columns_ && k < static_cast<int>(titles.size()); ++k) {
      At(0, k).text = titles[static_cast<std::size_t>(k)];
    }
    rowHeight_ = layout.rowHeight;
    for (int r = 1; r <= chCount; ++r) {
      At(r, 0).text = r < kSpecialRow ? std::to_string(r) : r == kSpecialRow ? "VFO" : "";
    }
    widths_.assign(static_cast<std::size_t>(columns_), 1000);
    for (int k = 0; k < columns_ && k < static_cast<int>(layout.widths.size()); ++k) {
      widths_[static_cast<std::size_t>(k)] = layout.widths[static_cast<std::size_t>(k)];
    }
    current_ = {chCount >= 1 ? 1 : 0, colCount >= 1 ? 1 : 0};
    if (observer_ != nullptr) {
      for (int r = 0; r < rows(); ++r) {
        for (int c = 0; c < columns_; ++c) observer_->CellChanged(r, c);
      }
    }
  });
}

void ChannelGrid::ShowChTblGrid() {
  data_.Report().Guard("modChMem->ShowChTblGrid", [this] {
    for (int r = 1; r <= ChCount(); ++r) {
      ShowChannel(r);
    }
  });
}

void ChannelGrid::ShowChannel(int r) {
  if (data_.Channels()[r].field[1] == -1) {
    for (int k = 1; k <= ColCount(); ++k) SetText(r, k, "");
    return;
  }
  ChParaShow(r);
  RxFreShow(r);
  TxFreShow(r);
  CtdcsDecShow(r);
  CtdcsEncShow(r);
}

bool ChannelGrid::MoveChannel(int n, int delta) {
  const int m = n + delta;
  if (data_.Locked() || n < 1 || n > ChCount() || m < 1 || m > ChCount() || m == n) return false;
  Gesture("mdifrmMain->MoveChannel", [&] {
    const ChannelRow moved = data_.Channels()[n];
    const ChannelRow other = data_.Channels()[m];
    data_.EditChannel(n, other);
    data_.EditChannel(m, moved);
    ShowChannel(n);
    ShowChannel(m);
    toneBox_.visible = false;
    Select(m, current_.col >= 1 ? current_.col : 1);
    Highlight(m);
  });
  return true;
}

void ChannelGrid::DeleteChannels(const std::vector<int>& channels) {
  if (data_.Locked()) return;
  Gesture("mdifrmMain->DeleteChannels", [&] {
    for (const int n : channels) {
      if (n < 1 || n > ChCount()) continue;
      DelOneChannel(n);
      Edit(n, [](ChannelRow& row) { row.field[0] = 1; });
    }
  });
}

void ChannelGrid::ChParaShow(int r) {
  data_.Report().Guard("modChMem->ChParaShow", [&] {
    for (int k = 5; k <= ColCount(); ++k) {
      if (k == kNameColumn) continue;
      SetText(r, k, ItemText(k, Field(data_.Channels()[r], k)));
    }
  });
}

void ChannelGrid::RxFreShow(int r) {
  data_.Report().Guard("modChMem->RxFreShow",
                       [&] { ShowFrequency(r, 1, data_.Channels()[r].field[1]); });
}

void ChannelGrid::TxFreShow(int r) {
  data_.Report().Guard("modChMem->TxFreShow", [&] {
    const int32_t f = data_.Channels()[r].field[2];
    if (f == -1) {
      Empty(r, 2);
    } else {
      ShowFrequency(r, 2, f);
    }
  });
}

void ChannelGrid::CtdcsDecShow(int r) {
  data_.Report().Guard("modChMem->CtdcsDecShow",
                       [&] { SetText(r, 3, data_.Channels()[r].rxTone); });
}

void ChannelGrid::CtdcsEncShow(int r) {
  data_.Report().Guard("modChMem->CtdcsEncShow", [&] {
    const ChannelRow& row = data_.Channels()[r];
    SetText(r, 4, row.field[2] == -1 ? std::string() : row.txTone);
  });
}

// ---- grid events --------------------------------------------------------------------------

void ChannelGrid::vsfgGridCh_Click(int r, int c) {
  editRequest_.reset();
  Gesture("frmChMem->vsfgGridCh_Click", [&] {
    At(r, c);  // a cell of the grid, or a failure
    Highlight(r);
    if (data_.Locked() || r < 1 || c < 1) {
      // The box never outlives a click: a tone typed into it is dropped, not stored.
      toneBox_.visible = false;
      toneBox_.row = 0;
      toneBox_.col = 0;
      if (r >= 1 && c >= 1) current_ = {r, c};
      return;
    }
    current_ = {r, c};
    // A tone still open in the box is stored before the click moves on.
    if (toneBox_.col == 3 || toneBox_.col == 4) {
      LostFocus(toneBox_.text);
      current_ = {r, c};
    }
    toneBox_.row = 0;
    toneBox_.col = 0;
    permission_ = c == 1 || c == 2 || c == kNameColumn ? EditPermission::KeyboardAndMouse
                  : c == 3 || c == 4                   ? EditPermission::None
                                                       : EditPermission::Keyboard;
    toneBox_.visible = false;

    if (!HasRx(r)) {
      // The receive frequency must come first, whatever cell was clicked.
      RequestEdit(r, 1);
      return;
    }
    if (c == 3 || (c == 4 && HasTx(r))) {
      const ChannelRow& row = data_.Channels()[r];
      Select(r, c);
      toneBox_.text = c == 3 ? row.rxTone : row.txTone;
      toneBox_.visible = true;
      toneBox_.row = r;
      toneBox_.col = c;
    } else if (c == 4) {
      // A receive-only channel needs its transmit frequency before a transmit tone.
      Select(r, 2);
    } else {
      RequestEdit(r, c);
    }
  });
}

bool ChannelGrid::vsfgGridCh_BeforeEdit(int r, int c) {
  editRequest_.reset();
  bool allowed = false;
  data_.Report().Guard("frmChMem->vsfgGridCh_BeforeEdit", [&] {
    toneBox_.visible = false;
    editList_.clear();
    At(r, c);
    if (data_.Locked() || r < 1 || c < 1) return;
    if (r == kSpecialRow && c == 10) {
      permission_ = EditPermission::Keyboard;
      allowed = true;
      return;
    }
    permission_ = c == 1 || c == 2   ? EditPermission::KeyboardAndMouse
                  : c == 3 || c == 4 ? EditPermission::None
                                     : EditPermission::Keyboard;
    if (HasRx(r)) {
      if (c == 4 && !HasTx(r)) return;
      const std::string& key = data_.Layout().FieldText(c, 0);
      if (IsParameterKey(key)) editList_ = key;
    } else if (c != 1) {
      return;
    }
    allowed = permission_ != EditPermission::None;
  });
  return allowed;
}

void ChannelGrid::vsfgGridCh_AfterEdit(int r, int c, const std::string& text) {
  editRequest_.reset();
  if (data_.Locked() || r < 1 || c < 1) return;
  Gesture("frmChMem->vsfgGridCh_AfterEdit:", [&] {
    SetText(r, c, text);  // the grid commits the edited text to the cell
    Edit(r, [&](ChannelRow& row) { AfterEdit(r, c, text, row); });
  });
}

void ChannelGrid::AfterEdit(int r, int c, const std::string& text, ChannelRow& row) {
  {
    row.field[0] = 1;
    if (c != 1 && c != 2) {
      const std::vector<std::string> items = SplitBar(data_.Layout().FieldText(c, 0));
      int32_t index = -1;
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
          index = static_cast<int32_t>(i);
          break;
        }
      }
      Field(row, c) = index;
      return;
    }
    if (!ParseDecimal(text)) {
      if (c == 2) {
        MakeReceiveOnly(r, row);
      } else {
        ClearChannel(r, row);
        Select(r, 1);
      }
      return;
    }
    StoreFrequency(r, c, text, row);
    if (c == 2) {
      if (row.txTone.empty()) SetText(r, 4, At(r, 3).text);
      row.txTone = At(r, 4).text;
      Select(r, 3);
      return;
    }
    if (At(r, 3).text.empty()) CompleteNewChannel(r, row);
    Select(r, 2);
  }
}

void ChannelGrid::vsfgGridCh_DblClick(int r, int c) {
  editRequest_.reset();
  if (data_.Locked() || r < 1 || c < 1) return;
  Gesture("frmChMem->vsfgGridCh_DblClick", [&] {
    At(r, c);
    permission_ = c == 1 || c == 2 || c == kNameColumn ? EditPermission::KeyboardAndMouse
                                                       : EditPermission::Keyboard;
    if (!HasRx(r) || c == 1) return;
    Edit(r, [&](ChannelRow& row) { DblClick(r, c, row); });
  });
}

void ChannelGrid::DblClick(int r, int c, ChannelRow& row) {
  {
    row.field[0] = 1;
    if (c == 2) {
      if (!HasTx(r)) {
        row.field[2] = row.field[1];
        ShowFrequency(r, 2, row.field[2]);
        SetText(r, 4, At(r, 3).text);
        row.txTone = At(r, 4).text;
      }
    } else if (c == 3) {
      if (HasTx(r)) {
        SetText(r, 3, At(r, 4).text);
        row.rxTone = row.txTone;
      }
    } else if (c == 4) {
      if (HasTx(r)) {
        SetText(r, 4, At(r, 3).text);
        row.txTone = row.rxTone;
      }
    } else if (c != kNameColumn && Field(row, c) != -1) {
      int32_t& value = Field(row, c);
      if (r == kSpecialRow && c == 10) {
        value = 0;
      } else {
        const int32_t count = ToInt32(data_.Layout().FieldText(c, 1), "ItemCount");
        value = value >= count - 1 ? 0 : value + 1;
      }
      SetText(r, c, ItemText(c, value));
    }
  }
}

ChannelMenu ChannelGrid::vsfgGridCh_MouseDown(int r, int c, bool lockEntryVisible,
                                              bool lockChecked) {
  editRequest_.reset();
  ChannelMenu menu;
  data_.Report().Guard("frmChMem->vsfgGridCh_MouseDown", [&] {
    At(r, c);
    if (r < 1 || c < 1) return;
    menuChannel_ = r;
    const SoftFace& face = data_.Texts();
    const bool hasRx = HasRx(r);
    menu.popUp = true;
    menu.channel = r;
    // The main window keeps "Open channel" and "Save as default" hidden; they stay disabled.
    menu.openCh = {face[msg::kOpenChannel] + " " + std::to_string(r), false, false, false};
    menu.saveDef = {face[msg::kSaveDefault], false, false, false};
    menu.delOne = {face[msg::kDeleteChannel] + " " + std::to_string(r), true, hasRx, false};
    menu.delAll = {face[msg::kDeleteAll], true, true, false};
    if (lockEntryVisible) {
      menu.lockSeparator = true;
      menu.popChLock = {face[msg::kLockChannels], true, true, lockChecked};
      if (lockChecked) {
        for (MenuItem* item : {&menu.openCh, &menu.saveDef, &menu.delOne, &menu.delAll}) {
          item->enabled = false;
        }
      }
    }
  });
  return menu;
}

// ---- tone box -----------------------------------------------------------------------------

void ChannelGrid::cboGridChCtdcs_GotFocus() {
  data_.Report().Guard("frmChMem->cboGridChCtdcs_GotFocus", [this] {
    const int r = current_.row;
    if (r >= 1 && r <= ChCount()) {
      if (current_.col == 3) toneBox_.text = data_.Channels()[r].rxTone;
      if (current_.col == 4) toneBox_.text = data_.Channels()[r].txTone;
    }
    Highlight(r);
  });
}

void ChannelGrid::SetToneBoxText(const std::string& text) {
  toneBox_.text = text;
}

void ChannelGrid::cboGridChCtdcs_LostFocus(const std::string& boxText) {
  editRequest_.reset();
  Gesture("frmChMem->cboGridChCtdcs_LostFocus", [&] { LostFocus(boxText); });
}

void ChannelGrid::LostFocus(const std::string& boxText) {
  const int c = toneBox_.col;
  if (c != 3 && c != 4) return;
  const int r = toneBox_.row;
  const int currentCol = current_.col;
  toneBox_.text = boxText;
  // Normalise turns an entry that fits no tone form into the off text.
  const std::string tone = data_.Tones().Normalise(boxText);
  toneBox_.text = tone;
  Edit(r, [&](ChannelRow& row) {
    (c == 3 ? row.rxTone : row.txTone) = tone;
    SetText(r, c, tone);
    if (c == 3) {
      row.txTone = row.rxTone;
      SetText(r, 4, row.rxTone);
    }
    if (At(r, 1).text.empty()) {
      ClearChannel(r, row);
    } else if (At(r, 2).text.empty()) {
      MakeReceiveOnly(r, row);
    }
  });
  if (currentCol != 3 && currentCol != 4) toneBox_.visible = false;
}

// ---- channel commands ---------------------------------------------------------------------

void ChannelGrid::DelOneChannel(int n) {
  data_.Report().Guard("modChMem->DelOneChannel", [&] {
    data_.DeleteChannel(n);
    for (int f = 1; f <= ColCount(); ++f) Empty(n, f);
    toneBox_.visible = false;
  });
}

void ChannelGrid::mnuDelOne_Click() {
  if (data_.Locked()) return;
  Gesture("mdifrmMain->mnuDelOne_Click", [this] {
    if (menuChannel_ == kSpecialRow) return;
    DelOneChannel(menuChannel_);
    Edit(menuChannel_, [](ChannelRow& row) { row.field[0] = 1; });
  });
}

void ChannelGrid::mnuDelAll_Click() {
  if (data_.Locked()) return;
  Gesture("mdifrmMain->mnuDelAll_Click", [this] {
    for (int n = 1; n <= ChCount(); ++n) {
      DelOneChannel(n);
      Edit(n, [](ChannelRow& row) { row.field[0] = 1; });
    }
  });
}

void ChannelGrid::mnuOpenCh_Click() {
  if (data_.Locked()) return;
  data_.Report().Guard("mdifrmMain->mnuOpenCh_Click", [this] {
    const int n = menuChannel_;
    Edit(n, [&](ChannelRow& row) { OpenChannel(n, row); });
  });
}

void ChannelGrid::OpenChannel(int n, ChannelRow& row) {
  {
    const auto defaultOf = [this](int f) { return DefaultOf(f); };
    row.field[1] = defaultOf(1);
    ShowFrequency(n, 1, row.field[1]);

    const int32_t x = defaultOf(2);
    if (x > 0) {
      row.field[2] = x;
      SetText(n, 2, FrequencyText(x));
    } else {
      row.field[2] = -1;
      SetText(n, 2, "");
    }
    SetBack(n, 2, BandColour(x));

    for (int f = 3; f <= ColCount(); ++f) {
      if (f == 3 || f == 4) {
        const int32_t t = defaultOf(f);
        if (f == 4 && t == -1) {
          SetText(n, 4, "");
          row.field[4] = -1;
        } else {
          SetText(n, f, data_.Tones().Text(t));
          Field(row, f) = t;
        }
      } else if (f == kNameColumn) {
        SetText(n, f, std::string(" CH-") + (n < 10 ? "0" : "") + std::to_string(n));
      } else {
        const int32_t v = defaultOf(f);
        SetText(n, f, ItemText(f, v));
        Field(row, f) = v;
      }
    }
    Select(n, 1);
    row.field[0] = 1;
  }
}

void ChannelGrid::mnuSaveDef_Click() {
  if (data_.Locked()) return;
  data_.Report().Guard("mdifrmMain->mnuSaveDef_Click", [this] {
    const int n = menuChannel_;
    data_.SaveDefaultChannel(n);
    Select(n, 1);
  });
}

void ChannelGrid::EndEditing() {
  editRequest_.reset();
}

// ---- getters ------------------------------------------------------------------------------

const GridCell& ChannelGrid::cell(int r, int c) const {
  if (r < 0 || r >= rows() || c < 0 || c >= columns_) {
    throw Failure(err::kIndexOutOfRange, "vsfgGridCh",
                  "cell (" + std::to_string(r) + ", " + std::to_string(c) + ")");
  }
  return cells_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
}

int32_t ChannelGrid::columnWidth(int c) const {
  if (c < 0 || c >= static_cast<int>(widths_.size())) {
    throw Failure(err::kIndexOutOfRange, "vsfgGridCh", "column " + std::to_string(c));
  }
  return widths_[static_cast<std::size_t>(c)];
}

std::string ChannelGrid::columnFormat(int c) const {
  const std::string& key = data_.Layout().FieldText(c, 0);
  if (c < 1) return "";
  if (IsFrequencyKey(key)) return "###.#####";
  if (key == "OFFSET") return "#0.00000";
  if (key == "CHNAME") return "00000";
  return "";
}

// ---- helpers ------------------------------------------------------------------------------

bool ChannelGrid::HasRx(int r) const {
  return data_.Channels()[r].field[1] != -1;
}

bool ChannelGrid::HasTx(int r) const {
  return data_.Channels()[r].field[2] != -1;
}

GridCell& ChannelGrid::At(int r, int c) {
  return const_cast<GridCell&>(static_cast<const ChannelGrid&>(*this).cell(r, c));
}

void ChannelGrid::SetText(int r, int c, std::string text) {
  At(r, c).text = std::move(text);
  if (observer_ != nullptr) observer_->CellChanged(r, c);
}

void ChannelGrid::SetBack(int r, int c, int32_t back) {
  At(r, c).back = back;
  if (observer_ != nullptr) observer_->CellChanged(r, c);
}

void ChannelGrid::Empty(int r, int c) {
  GridCell& target = At(r, c);
  target.text.clear();
  target.back = data_.DefColor();
  if (observer_ != nullptr) observer_->CellChanged(r, c);
}

void ChannelGrid::ShowFrequency(int r, int c, int32_t f) {
  GridCell& target = At(r, c);
  target.text = FrequencyText(f);
  target.back = BandColour(f);
  if (observer_ != nullptr) observer_->CellChanged(r, c);
}

int32_t ChannelGrid::BandColour(int32_t f) const {
  return f >= data_.Band().lower && f <= data_.Band().upper ? data_.DefColor() : data_.OverColor();
}

std::string ChannelGrid::ItemText(int k, int32_t v) const {
  // -1 is "no item": nothing to show.
  if (v == -1) return "";
  if (v < 0 || v > kHighestItem) {
    throw Failure(err::kIndexOutOfRange, "ItemText",
                  "field " + std::to_string(k) + " has no item " + std::to_string(v));
  }
  return data_.Layout().FieldText(k, 3 + v);
}

void ChannelGrid::Select(int r, int c) {
  At(r, c);
  current_ = {r, c};
}

void ChannelGrid::RequestEdit(int r, int c) {
  Select(r, c);
  editRequest_ = CellPos{r, c};
}

void ChannelGrid::Highlight(int r) {
  for (int row = 1; row <= ChCount(); ++row) {
    for (int c = 1; c <= ColCount(); ++c) SetBack(row, c, kGridBackColor);
  }
  if (r >= 1 && r <= ChCount()) {
    for (int c = 1; c <= ColCount(); ++c) SetBack(r, c, kRowHighlight);
  }
  toneBox_.back = kRowHighlight;
}

void ChannelGrid::ClearChannel(int r, ChannelRow& row) {
  for (int k = 1; k <= ColCount(); ++k) {
    Field(row, k) = -1;
    Empty(r, k);
  }
  row.rxTone.clear();
  row.txTone.clear();
}

void ChannelGrid::MakeReceiveOnly(int r, ChannelRow& row) {
  row.field[2] = -1;
  Empty(r, 2);
  Empty(r, 4);
  row.txTone.clear();
}

void ChannelGrid::StoreFrequency(int r, int c, const std::string& text, ChannelRow& row) {
  try {
    const double tenHz = RoundHalfEven(*ParseDecimal(text) * 100000.0);
    if (!(tenHz >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          tenHz <= static_cast<double>(std::numeric_limits<int32_t>::max()))) {
      throw Failure(err::kOverflow, "vsfgGridCh", "frequency \"" + text + "\" is too large");
    }
    int32_t f = ModifyTxRxFre(static_cast<int32_t>(tenHz));
    // Beyond what the radio can tune at all, the band's own limit takes the place of the entry;
    // between the absolute and the band limits the entry stays and shows out of band.
    if (f < data_.Band().absLower) {
      f = data_.Band().lower;
    } else if (f > data_.Band().absUpper) {
      f = data_.Band().upper;
    }
    Field(row, c) = f;
    ShowFrequency(r, c, f);
  } catch (const Failure&) {
    Empty(r, c);
    Field(row, c) = -1;
    throw;
  }
}

void ChannelGrid::CompleteNewChannel(int r, ChannelRow& row) {
  const std::string& off = data_.Tones().OffText();
  SetText(r, 3, off);
  row.rxTone = off;
  if (At(r, 2).text.empty()) {
    SetText(r, 2, At(r, 1).text);
    SetBack(r, 2, BandColour(row.field[1]));
    SetText(r, 4, At(r, 3).text);
    row.txTone = row.rxTone;
    row.field[2] = row.field[1];
  }
  for (int k = 5; k <= ColCount(); ++k) {
    if (k == kNameColumn) continue;
    int32_t& value = Field(row, k);
    if (value == -1) value = DefaultOf(k);
    SetText(r, k, ItemText(k, value));
  }
}

}  // namespace tq
