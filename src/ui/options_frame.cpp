#include "ui/options_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>
#include <numeric>

#include "options/option_texts.h"
#include "session/session.h"

namespace tq::ui {
namespace {

// The control of each slot: its name, its label's name (none for a check box), and its place in
// the frame's grid (row, and column of the pair).
struct OptionControl {
  const char* name;
  const char* label;
  int row;
  int pair;
};

constexpr std::array<OptionControl, kOptionCount> kControls = {{
    {"cboTot", "lblTot", 0, 0},
    {"cboSql", "lblSql", 0, 1},
    {"cboVolume", "lblVolume", 0, 2},
    {"cboAnVoice", "lblAnVoice", 0, 3},
    {"cboRadioSql", "lblRadioSql", 1, 0},
    {"cboRadioVolume", "lblRadioVolume", 1, 1},
    {"chkBatSave", nullptr, 3, 0},
    {"chkBeep", nullptr, 3, 1},
    {"chkEmergencyAlarm", nullptr, 3, 2},
    {"cboAnChipSel", "lblAnChipSel", 1, 2},
    {"cboCrystal", "lblCrystal", 1, 3},
    {"cboPreTot", "lblPreTot", 2, 0},
    {"cboVoxLevel", "lblVoxLevel", 2, 1},
    {"cboVoxDly", "lblVoxDly", 2, 2},
    {"cboVoxRxForbid", "lblVoxRxForbid", 2, 3},
    {"chkLowBatTx", nullptr, 3, 3},
}};

constexpr int kPairs = 4;
}  // namespace

OptionsFrame::OptionsFrame(Session& session, QGroupBox* frame)
    : QObject(frame), session_(session), frame_(frame) {
  setObjectName("OptionsFrame");
  auto* grid = new QGridLayout(frame_);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  for (int slot = 0; slot < kOptionCount; ++slot) {
    const OptionControl& c = kControls[static_cast<std::size_t>(slot)];
    const auto index = static_cast<std::size_t>(slot);
    if (c.label == nullptr) {
      auto* check = new QCheckBox(frame_);
      check->setObjectName(c.name);
      grid->addWidget(check, c.row, 2 * c.pair, 1, 2);
      connect(check, &QCheckBox::toggled, this, [this, slot] { RunHandler(slot); });
      checks_[index] = check;
      continue;
    }
    auto* label = new QLabel(frame_);
    label->setObjectName(c.label);
    auto* list = new QComboBox(frame_);
    list->setObjectName(c.name);
    list->setMinimumContentsLength(6);
    label->setBuddy(list);
    grid->addWidget(label, c.row, 2 * c.pair, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(list, c.row, 2 * c.pair + 1);
    connect(list, &QComboBox::currentIndexChanged, this, [this, slot] { RunHandler(slot); });
    labels_[index] = label;
    lists_[index] = list;
  }
  for (int pair = 0; pair < kPairs; ++pair) grid->setColumnStretch(2 * pair + 1, 1);
  grid->setRowStretch(kPairs, 1);
  const QList<QWidget*> chain = TabChain();
  for (qsizetype k = 1; k < chain.size(); ++k) QWidget::setTabOrder(chain[k - 1], chain[k]);
}

QList<QWidget*> OptionsFrame::TabChain() const {
  std::array<int, kOptionCount> order{};
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [](int a, int b) {
    const OptionControl& x = kControls[static_cast<std::size_t>(a)];
    const OptionControl& y = kControls[static_cast<std::size_t>(b)];
    return x.row != y.row ? x.row < y.row : x.pair < y.pair;
  });
  QList<QWidget*> chain;
  for (const int slot : order) {
    const auto index = static_cast<std::size_t>(slot);
    chain << (lists_[index] != nullptr ? static_cast<QWidget*>(lists_[index]) : checks_[index]);
  }
  return chain;
}

void OptionsFrame::InitFace() {
  for (int slot = 0; slot < kOptionCount; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    const QString caption = QString::fromStdString(session_.Texts()[OptionCaptionNumber(slot)]);
    if (labels_[index] != nullptr) labels_[index]->setText(caption);
    if (checks_[index] != nullptr) checks_[index]->setText(caption);
  }
}

QStringList OptionsFrame::Entries(int slot) const {
  QStringList list;
  for (const std::string& text : OptionItemTexts(slot, session_.Texts())) {
    list << QString::fromStdString(text);
  }
  return list;
}

void OptionsFrame::InitOpt() {
  session_.Report().Guard("frmChMem->InitOpt", [this] {
    for (int slot = 0; slot < kOptionCount; ++slot) {
      const auto index = static_cast<std::size_t>(slot);
      if (QComboBox* list = lists_[index]) {
        {
          // Filling the list would select its first entry; only the final choice counts.
          const QSignalBlocker quiet(list);
          list->clear();
          list->addItems(Entries(slot));
          list->setCurrentIndex(-1);
        }
        const int16_t shown = OptionShownIndex(slot, session_.Options(), session_.Report());
        const QSignalBlocker quiet(list);
        list->setCurrentIndex(shown);
      } else {
        const int16_t shown = OptionShownIndex(slot, session_.Options(), session_.Report());
        const QSignalBlocker quiet(checks_[index]);
        checks_[index]->setChecked(shown != 0);
      }
      // The handler runs for the fill's own choice as it does for the user's.
      RunHandler(slot);
    }
  });
}

void OptionsFrame::RunHandler(int slot) {
  switch (slot) {
    case 0:
      return cboTot_Click();
    case 1:
      return cboSql_Click();
    case 2:
      return cboVolume_Click();
    case 3:
      return cboAnVoice_Click();
    case 4:
      return cboRadioSql_Click();
    case 5:
      return cboRadioVolume_Click();
    case 6:
      return chkBatSave_Click();
    case 7:
      return chkBeep_Click();
    case 8:
      return chkEmergencyAlarm_Click();
    case 9:
      return cboAnChipSel_Click();
    case 10:
      return cboCrystal_Click();
    case 11:
      return cboPreTot_Click();
    case 12:
      return cboVoxLevel_Click();
    case 13:
      return cboVoxDly_Click();
    case 14:
      return cboVoxRxForbid_Click();
    case 15:
      return chkLowBatTx_Click();
    default:
      return;
  }
}

void OptionsFrame::StoreIndex(int slot) {
  const auto index = static_cast<std::size_t>(slot);
  session_.SetOption(slot, static_cast<int16_t>(lists_[index]->currentIndex()));
}

void OptionsFrame::StoreCheck(int slot) {
  const auto index = static_cast<std::size_t>(slot);
  session_.SetOption(slot, checks_[index]->isChecked() ? int16_t{1} : int16_t{0});
}

void OptionsFrame::cboTot_Click() {
  StoreIndex(0);
}
void OptionsFrame::cboSql_Click() {
  StoreIndex(1);
}
void OptionsFrame::cboVolume_Click() {
  StoreIndex(2);
}
void OptionsFrame::cboAnVoice_Click() {
  StoreIndex(3);
}
void OptionsFrame::cboRadioSql_Click() {
  StoreIndex(4);
}
void OptionsFrame::cboRadioVolume_Click() {
  StoreIndex(5);
}
void OptionsFrame::chkBatSave_Click() {
  StoreCheck(6);
}
void OptionsFrame::chkBeep_Click() {
  StoreCheck(7);
}
void OptionsFrame::chkEmergencyAlarm_Click() {
  StoreCheck(8);
}
void OptionsFrame::cboAnChipSel_Click() {
  StoreIndex(9);
}
void OptionsFrame::cboCrystal_Click() {
  StoreIndex(10);
}
void OptionsFrame::cboPreTot_Click() {
  StoreIndex(11);
}
void OptionsFrame::cboVoxLevel_Click() {
  StoreIndex(12);
}
void OptionsFrame::cboVoxDly_Click() {
  StoreIndex(13);
}
void OptionsFrame::cboVoxRxForbid_Click() {
  StoreIndex(14);
}
void OptionsFrame::chkLowBatTx_Click() {
  StoreCheck(15);
}

}  // namespace tq::ui
