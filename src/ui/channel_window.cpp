#include "ui/channel_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "base/message_numbers.h"
#include "editor/channel_grid.h"
#include "image/band.h"
#include "session/session.h"
#include "ui/channel_grid_view.h"
#include "ui/channel_print.h"
#include "ui/dialogs.h"
#include "ui/options_frame.h"
#include "ui/session_signals.h"

namespace tq::ui {
namespace {

// A label text with an access key: `letter` is underlined where the text holds it (as the menus
// do in English), else added in brackets ("机型(&T)", as the Chinese menus do). The letters of
// the channel window avoid those of the menu bar.
QString WithMnemonic(const QString& text, QChar letter) {
  if (text.isEmpty()) return text;
  const qsizetype at = text.indexOf(letter, 0, Qt::CaseInsensitive);
  if (at >= 0) return text.left(at) + '&' + text.mid(at);
  return text + "(&" + letter + ")";
}

}  // namespace

ChannelWindow::ChannelWindow(Session& session, SessionSignals& notices, const bool& programClosing,
                             Dialogs& dialogs, QWidget* parent)
    : QWidget(parent),
      session_(session),
      programClosing_(programClosing),
      dialogs_(dialogs),
      fraModel_(new QGroupBox(this)),
      fraMain_(new QGroupBox(this)),
      fraCommonSet_(new QGroupBox(this)),
      lblModel_(new QLabel(fraModel_)),
      lblFrequency_(new QLabel(fraModel_)),
      cboModel_(new QComboBox(fraModel_)),
      cboFrequency_(new QComboBox(fraModel_)),
      grid_(std::make_unique<ChannelGrid>(session)),
      gridView_(new ChannelGridView(*grid_, fraMain_)),
      cmdPrintChannel_(new QPushButton(fraMain_)),
      options_(new OptionsFrame(session, fraCommonSet_)) {
  setObjectName("frmChMem");
  fraModel_->setObjectName("fraModel");
  fraMain_->setObjectName("fraMain");
  fraCommonSet_->setObjectName("fraCommonSet");
  lblModel_->setObjectName("lblModel");
  lblFrequency_->setObjectName("lblFrequency");
  cboModel_->setObjectName("cboModel");
  cboFrequency_->setObjectName("cboFrequency");
  cboFrequency_->setMinimumContentsLength(14);
  cmdPrintChannel_->setObjectName("cmdPrintChannel");

  fraModel_->installEventFilter(this);
  auto* model = new QHBoxLayout(fraModel_);
  model->addWidget(lblModel_);
  model->addWidget(cboModel_);
  model->addSpacing(24);
  model->addWidget(lblFrequency_);
  model->addWidget(cboFrequency_);
  model->addStretch(1);

  auto* channels = new QVBoxLayout(fraMain_);
  channels->addWidget(gridView_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdPrintChannel_);
  channels->addLayout(buttons);

  // The labels name their boxes (for a screen reader, and Alt with the underlined letter), and
  // Tab goes down the window: model, band, the grid, Print, then the options row by row.
  lblModel_->setBuddy(cboModel_);
  lblFrequency_->setBuddy(cboFrequency_);
  QList<QWidget*> chain = {cboModel_, cboFrequency_, gridView_, cmdPrintChannel_};
  chain << options_->TabChain();
  for (qsizetype k = 1; k < chain.size(); ++k) setTabOrder(chain[k - 1], chain[k]);

  // The frames keep the sizes their texts need; a window too small for them (800x600 with the
  // error list open) scrolls instead of cutting them.
  auto* desk = new QWidget;
  desk->setObjectName("deskChMem");
  auto* layout = new QVBoxLayout(desk);
  layout->setContentsMargins(6, 2, 6, 2);
  layout->setSpacing(2);
  layout->addWidget(fraModel_);
  // The channel grid takes the room the model and option frames leave.
  layout->addWidget(fraMain_, 1);
  layout->addWidget(fraCommonSet_, 0);
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("scrChMem");
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(desk);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);

  connect(cboModel_, &QComboBox::currentIndexChanged, this, [this] { cboModel_Click(); });
  connect(cboFrequency_, &QComboBox::currentIndexChanged, this, [this] {
    cboFrequency_Click();
    // The user's pick that changed the entry is also reported as activated, right after this.
    bandJustChanged_ = true;
    QTimer::singleShot(0, this, [this] { bandJustChanged_ = false; });
  });
  // Picking the entry that is already shown changes nothing in the list, but it is still the
  // user's choice: picking "Custom" again opens the custom range dialog again.
  connect(cboFrequency_, &QComboBox::activated, this, [this] {
    if (bandJustChanged_) {
      bandJustChanged_ = false;
      return;
    }
    cboFrequency_Click();
  });
  connect(cmdPrintChannel_, &QPushButton::clicked, this, [this] { cmdPrintChannel_Click(); });
  connect(&notices, &SessionSignals::dataReplaced, this, &ChannelWindow::ShowNewData);
  connect(&notices, &SessionSignals::lockChanged, this, &ChannelWindow::SetLocked);
  connect(&notices, &SessionSignals::aboutToFold, gridView_, &ChannelGridView::CommitOpenEdits);
  choosePrinter = [this](QPrinter& printer) {
    QPrintDialog dialog(&printer, this);
    return dialog.exec() == QDialog::Accepted;
  };

  // The grid is built from the layout and shows the table as initialisation left it: every
  // channel empty.
  gridView_->SetChGrid(session_.Tones().List());
  ShowChannels();
}

ChannelWindow::~ChannelWindow() {
  // The view and its model refer to the grid model, which is a member: they go first.
  delete gridView_;
  gridView_ = nullptr;
}

void ChannelWindow::InitFace() {
  const SoftFace& t = session_.Texts();
  const QString title = QString::fromStdString(t[msg::kChannelsTitle]);
  setWindowTitle(title);
  fraMain_->setTitle(title);
  fraModel_->setTitle(QString::fromStdString(t[msg::kModelFrame]));
  lblModel_->setText(WithMnemonic(QString::fromStdString(t[msg::kModelLabel]), 'T'));
  lblFrequency_->setText(WithMnemonic(QString::fromStdString(t[msg::kBandLabel]), 'Q'));
  fraCommonSet_->setTitle(QString::fromStdString(t[msg::kOptionsFrame]));
  cmdPrintChannel_->setText(QString::fromStdString(t[msg::kPrint]));
  options_->InitFace();
}

void ChannelWindow::InitOpt() {
  options_->InitOpt();
}

void ChannelWindow::OpenCustomRange() {
  if (openingCustom_) return;
  openingCustom_ = true;
  CustomRangeDialog dialog(session_, dialogs_, customTexts_, this);
  dialog.exec();
  openingCustom_ = false;
}

void ChannelWindow::ChInfoModel() {
  filling_ = true;
  cboModel_->clear();
  cboModel_->addItem(QString::fromStdString(session_.Texts()[msg::kModelName]));
  cboModel_->setCurrentIndex(0);
  cboFrequency_->clear();
  for (const BandEntry& entry : kBandList) cboFrequency_->addItem(entry.text);
  cboFrequency_->addItem(QString::fromStdString(session_.Texts()[msg::kCustomBand]));
  filling_ = false;
  cboFrequency_->setCurrentIndex(kDefaultBand);
}

void ChannelWindow::ShowModelAndBand() {
  filling_ = true;
  cboModel_->setCurrentIndex(session_.ModelPosition());
  cboFrequency_->setCurrentIndex(session_.BandPosition());
  filling_ = false;
}

void ChannelWindow::ShowNewData() {
  ShowModelAndBand();
  InitOpt();
  ShowChannels();
}

void ChannelWindow::SetLocked(bool locked) {
  fraModel_->setEnabled(!locked);
  fraCommonSet_->setEnabled(!locked);
  gridView_->SetLocked(locked);
}

void ChannelWindow::ShowChannels() {
  grid_->ShowChTblGrid();
  gridView_->Sync();
}

void ChannelWindow::cmdPrintChannel_Click() {
  gridView_->CommitOpenEdits();
  session_.Report().Guard("frmChMem->cmdPrintChannel_Click", [this] {
    const SoftFace& t = session_.Texts();
    const auto notice = [this](const QString& text) { emit statusNotice(text); };
    const QString title =
        window()->windowTitle() + "   " +
        QLocale::system().toString(QDateTime::currentDateTime(), QLocale::ShortFormat);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    if (choosePrinter && !choosePrinter(printer)) return;
    notice(QString::fromStdString(t[msg::kPrinting]));
    if (!PrintChannelTable(printer, *grid_, title)) {
      notice(QString::fromStdString(t[msg::kPrintFailed]));
      dialogs_.Tell(this, QString::fromStdString(t[msg::kNotice]),
                    QString::fromStdString(t[msg::kPrintFailed]), QMessageBox::Critical);
    }
  });
}

void ChannelWindow::closeEvent(QCloseEvent* event) {
  if (programClosing_) {
    event->accept();
  } else {
    event->ignore();
  }
}

void ChannelWindow::cboModel_Click() {
  if (filling_) return;
  session_.cboModel_Click(cboModel_->currentIndex());
}

void ChannelWindow::cboFrequency_Click() {
  if (filling_ || cboFrequency_->currentIndex() < 0) return;
  session_.cboFrequency_Click(cboFrequency_->currentIndex());
}

void ChannelWindow::fraModel_Click() {
  modelClicks_ = static_cast<int16_t>(modelClicks_ + 1);
  emit memoryWindowRequested(modelClicks_ % 10 == 6);
}

bool ChannelWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fraModel_ && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton &&
        fraModel_->rect().contains(mouse->position().toPoint())) {
      fraModel_Click();
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tq::ui
