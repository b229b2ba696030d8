#include "ui/options_frame.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>
#include <numeric>

#include "session/session.h"

namespace tq::ui {
namespace {

// The control of each slot: its name, its label's name (none for a check box), the message
// number of its caption, and its place in the frame's grid (row, and column of the pair).
struct OptionControl {
  const char* name;
  const char* label;
  int caption;
  int row;
  int pair;
};

constexpr std::array<OptionControl, kOptionCount> kControls = {{
    {"cboTot", "lblTot", 233, 0, 0},
    {"cboSql", "lblSql", 217, 0, 1},
    {"cboVolume", "lblVolume", 239, 0, 2},
    {"cboAnVoice", "lblAnVoice", 226, 0, 3},
    {"cboRadioSql", "lblRadioSql", 240, 1, 0},
    {"cboRadioVolume", "lblRadioVolume", 241, 1, 1},
    {"chkBatSave", nullptr, 327, 3, 0},
    {"chkBeep", nullptr, 328, 3, 1},
    {"chkEmergencyAlarm", nullptr, 293, 3, 2},
    {"cboAnChipSel", "lblAnChipSel", 315, 1, 2},
    {"cboCrystal", "lblCrystal", 326, 1, 3},
    {"cboPreTot", "lblPreTot", 330, 2, 0},
    {"cboVoxLevel", "lblVoxLevel", 333, 2, 1},
    {"cboVoxDly", "lblVoxDly", 336, 2, 2},
    {"cboVoxRxForbid", "lblVoxRxForbid", 346, 2, 3},
    {"chkLowBatTx", nullptr, 351, 3, 3},
}};

constexpr int kPairs = 4;
constexpr int kTotStepSeconds = 15;

QStringList Numbers(int first, int last) {
  QStringList list;
  for (int n = first; n <= last; ++n) list << QString::number(n);
  return list;
}

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
    const QString caption = QString::fromStdString(session_.Texts()[kControls[index].caption]);
    if (labels_[index] != nullptr) labels_[index]->setText(caption);
    if (checks_[index] != nullptr) checks_[index]->setText(caption);
  }
}

QStringList OptionsFrame::Entries(int slot) const {
  const SoftFace& t = session_.Texts();
  auto text = [&t](int number) { return QString::fromStdString(t[number]); };
  auto texts = [&text](int first, int last) {
    QStringList list;
    for (int n = first; n <= last; ++n) list << text(n);
    return list;
  };
  QStringList list;
  switch (slot) {
    case 0:
      list << text(234);
      for (int k = 1; k <= 20; ++k) list << QString::number(kTotStepSeconds * k) + text(238);
      return list;
    case 1:
      return Numbers(0, 9);
    case 2:
    case 5:
      return Numbers(0, 15);
    case 3:
      return texts(227, 229);
    case 4:
      return Numbers(0, 32);
    case 9:
      return texts(316, 317);
    case 10:
      return texts(320, 323);
    case 11:
      return QStringList{text(331)} + Numbers(1, 10);
    case 12:
      return QStringList{text(334)} + Numbers(1, 10);
    case 13:
      return texts(337, 342);
    case 14:
      return texts(347, 348);
    default:
      return {};
  }
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
