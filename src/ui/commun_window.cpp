#include "ui/commun_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "base/message_numbers.h"
#include "comm/port_control.h"
#include "comm/transfer.h"
#include "ui/dialogs.h"
#include "ui/interface_font.h"

namespace tq::ui {
namespace {

// Frame heights and the window's width, in pixels; the window height decides how many of the
// stacked frames show.
constexpr int kWidth = 500;
constexpr int kMargin = 8;
constexpr int kGap = 6;
constexpr int kFraOneHeight = 112;
constexpr int kFraTwoHeight = 250;
constexpr int kFraRdWrDatHeight = 168;
// The hidden panel gesture toggles at the 6th of every ten double-clicks.
constexpr int kGestureCount = 10;
constexpr int kGestureToggle = 6;
constexpr int kShrinkMarginTwips = 550;
constexpr int kGrowMarginTwips = 600;
constexpr int kLightMs = 100;

QPixmap Lamp(const QColor& colour) {
  constexpr int kSize = 18;
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient shine(kSize * 0.35, kSize * 0.35, kSize * 0.7);
  shine.setColorAt(0, colour.lighter(170));
  shine.setColorAt(1, colour.darker(130));
  painter.setBrush(shine);
  painter.setPen(QPen(colour.darker(180), 1));
  painter.drawEllipse(QRectF(1, 1, kSize - 2, kSize - 2));
  return pixmap;
}

struct AddressBoxCaption {
  AddressBox box;
  const char* label;
  const char* caption;
};

constexpr AddressBoxCaption kAddressCaptions[] = {
    {AddressBox::ReadStart, "lblReadStartAddr", "Read Start Addr"},
    {AddressBox::ReadEnd, "lblReadEndAddr", "Read End Addr"},
    {AddressBox::WriteStart, "lblWriteStartAddr", "Write Start Addr"},
    {AddressBox::WriteEnd, "lblWriteEndAddr", "Write End Addr"},
    {AddressBox::TableMax, "lblMaxAddr", "Grid Max Addr"},
};

}  // namespace

CommunWindow::CommunWindow(Session& session, PortControl& port, Dialogs& dialogs,
                           const bool& programClosing, QWidget* parent)
    : QDialog(parent),
      session_(session),
      port_(port),
      dialogs_(dialogs),
      programClosing_(programClosing),
      wait_(clock_, &port.link(), [] { QCoreApplication::processEvents(QEventLoop::AllEvents); }),
      fraOne_(new QGroupBox(this)),
      cmdRead_(new QPushButton(fraOne_)),
      cmdWrite_(new QPushButton(fraOne_)),
      prgCommunicate_(new QProgressBar(fraOne_)),
      lblComStatus_(new QLabel(fraOne_)),
      imgGreen_(nullptr),
      imgRed_(nullptr),
      tmrLigGrint_(new QTimer(this)),
      fraTwo_(new QGroupBox(QStringLiteral("Communication Data"), this)),
      listRtData_(new QListWidget(fraTwo_)),
      fraRdWrDat_(new QGroupBox(QStringLiteral("Read Write Data"), this)),
      chkShowMemDat_(new QCheckBox(QStringLiteral("Show Memory Data"), fraRdWrDat_)),
      chkNotShowProg_(new QCheckBox(QStringLiteral("Not Show Course"), fraRdWrDat_)),
      chkStopCom_(new QCheckBox(QStringLiteral("Stop Communication"), fraRdWrDat_)) {
  setObjectName("frmCommun");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  fraOne_->setObjectName("fraOne");
  cmdRead_->setObjectName("cmdRead");
  cmdWrite_->setObjectName("cmdWrite");
  prgCommunicate_->setObjectName("prgCommunicate");
  lblComStatus_->setObjectName("lblComStatus");
  tmrLigGrint_->setObjectName("tmrLigGrint");
  fraTwo_->setObjectName("fraTwo");
  listRtData_->setObjectName("listRtData");
  fraRdWrDat_->setObjectName("fraRdWrDat");
  chkShowMemDat_->setObjectName("chkShowMemDat");
  chkNotShowProg_->setObjectName("chkNotShowProg");
  chkStopCom_->setObjectName("chkStopCom");

  // The light: the red lamp lies under the green one, which blinks during a transfer.
  auto* light = new QWidget(fraOne_);
  light->setFixedSize(18, 18);
  imgRed_ = new QLabel(light);
  imgGreen_ = new QLabel(light);
  imgRed_->setObjectName("imgRed");
  imgGreen_->setObjectName("imgGreen");
  imgRed_->setPixmap(Lamp(QColor(200, 30, 30)));
  imgGreen_->setPixmap(Lamp(QColor(30, 190, 60)));
  imgGreen_->hide();

  prgCommunicate_->setRange(0, 100);
  prgCommunicate_->setValue(0);
  prgCommunicate_->setTextVisible(false);
  for (QPushButton* button : {cmdRead_, cmdWrite_}) {
    button->setMinimumSize(112, 34);
    button->setAutoDefault(false);
  }
  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdRead_);
  buttons->addWidget(cmdWrite_);
  buttons->addStretch();
  auto* status = new QHBoxLayout;
  status->addWidget(lblComStatus_);
  status->addStretch();
  status->addWidget(light);
  auto* progress = new QVBoxLayout;
  progress->addStretch();
  progress->addWidget(prgCommunicate_);
  progress->addLayout(status);
  progress->addStretch();
  auto* one = new QHBoxLayout(fraOne_);
  one->addLayout(buttons);
  one->addSpacing(12);
  one->addLayout(progress, 1);

  listRtData_->setUniformItemSizes(true);
  auto* two = new QVBoxLayout(fraTwo_);
  two->addWidget(listRtData_);

  auto* panel = new QGridLayout(fraRdWrDat_);
  int at = 0;
  for (const AddressBoxCaption& entry : kAddressCaptions) {
    auto* label = new QLabel(QString::fromUtf8(entry.caption), fraRdWrDat_);
    auto* box = new QLineEdit(fraRdWrDat_);
    label->setObjectName(entry.label);
    box->setObjectName(AddressBoxName(entry.box));
    label->setBuddy(box);
    box->setMaxLength(14);
    box->setText(QString::fromStdString(session_.AddressText(entry.box)));
    connect(box, &QLineEdit::textChanged, this, [this, box = entry.box](const QString& text) {
      session_.AddressTextChanged(box, text.toStdString());
    });
    // Two columns of boxes: read and write ranges side by side, the grid's size below.
    const int row = at / 2;
    const int column = (at % 2) * 2;
    panel->addWidget(label, row, column);
    panel->addWidget(box, row, column + 1);
    ++at;
  }
  panel->addWidget(chkShowMemDat_, 3, 0, 1, 2);
  panel->addWidget(chkNotShowProg_, 3, 2, 1, 2);
  panel->addWidget(chkStopCom_, 4, 0, 1, 2);

  // The frames stack at fixed places; the window's height decides which of them show.
  int y = kMargin;
  fraOne_->setGeometry(kMargin, y, kWidth - 2 * kMargin, kFraOneHeight);
  y += kFraOneHeight + kGap;
  fraTwo_->setGeometry(kMargin, y, kWidth - 2 * kMargin, kFraTwoHeight);
  y += kFraTwoHeight + kGap;
  fraRdWrDat_->setGeometry(kMargin, y, kWidth - 2 * kMargin, kFraRdWrDatHeight);
  setFixedSize(kWidth, kMargin + kFraOneHeight + kGap + kFraTwoHeight + kMargin);
  ShowFramesInside();

  tmrLigGrint_->setInterval(kLightMs);
  connect(tmrLigGrint_, &QTimer::timeout, this, [this] { tmrLigGrint_Timer(); });
  connect(cmdRead_, &QPushButton::clicked, this, [this] { cmdRead_Click(); });
  connect(cmdWrite_, &QPushButton::clicked, this, [this] { cmdWrite_Click(); });
  fraOne_->installEventFilter(this);
  list_.Subscribe(*this);
  InitFace();
}

CommunWindow::~CommunWindow() {
  list_.Unsubscribe(*this);
  qApp->removeEventFilter(this);
}

QString CommunWindow::Text(int number) const {
  return QString::fromStdString(session_.Texts()[number]);
}

int CommunWindow::Twips(int twips) const {
  return twips * logicalDpiY() / 1440;
}

void CommunWindow::InitFace() {
  const QFont face = InterfaceFont(session_.FontName(), font());
  for (QWidget* widget : {static_cast<QWidget*>(this), static_cast<QWidget*>(fraOne_),
                          static_cast<QWidget*>(cmdRead_), static_cast<QWidget*>(cmdWrite_)}) {
    widget->setFont(face);
  }
  listRtData_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setWindowTitle(Text(msg::kCommunCaption));
  fraOne_->setTitle(Text(msg::kProcess));
  cmdRead_->setText(Text(msg::kRead));
  cmdWrite_->setText(Text(msg::kWrite));
  QPalette red = lblComStatus_->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  lblComStatus_->setPalette(red);
  lblComStatus_->clear();
}

void CommunWindow::ShowButtons(bool read, bool write) {
  cmdRead_->setVisible(read);
  cmdWrite_->setVisible(write);
}

void CommunWindow::ShowComPercent(int16_t percent) {
  prgCommunicate_->setValue(percent);
  lblComStatus_->setText(QString::number(percent) + " %");
}

void CommunWindow::ShowDataListLines(bool cleared) {
  if (cleared) listRtData_->clear();
  // During a transfer the new lines are shown at each tick of the light (ten times a second)
  // rather than one by one: the list then repaints a few times a second instead of after every
  // frame, which keeps the program's share of the processor low on a slow line.
  if (running_) {
    linesPending_ = true;
    return;
  }
  FlushDataList();
}

void CommunWindow::FlushDataList() {
  linesPending_ = false;
  const auto& lines = list_.lines();
  const int shown = listRtData_->count();
  if (std::cmp_less(shown, lines.size())) {
    for (std::size_t k = static_cast<std::size_t>(shown); k < lines.size(); ++k) {
      listRtData_->addItem(QString::fromStdString(lines[k]));
    }
    // The newest line is selected so that the list scrolls with the transfer.
    listRtData_->setCurrentRow(listRtData_->count() - 1);
  }
}

void CommunWindow::cmdRead_Click() {
  Transfer(true);
}

void CommunWindow::cmdWrite_Click() {
  Transfer(false);
}

void CommunWindow::Transfer(bool reading) {
  if (running_) return;
  session_.Report().Guard(reading ? "frmCommun->cmdRead_Click" : "frmCommun->cmdWrite_Click", [&] {
    TransferSetup setup{
        port_.link(), wait_, list_, port_, *this, {}, {}, chkShowMemDat_->isChecked(), {}, {}};
    if (reading) {
      session_.Read(setup);
    } else {
      session_.Write(setup);
    }
  });
  // Whatever happened, the window takes input again.
  if (running_) SetRunning(false, reading);
}

void CommunWindow::MessageBox(int number) {
  dialogs_.Tell(this, Text(msg::kNotice), Text(number), QMessageBox::Warning);
}

void CommunWindow::TellUser(const std::string& text) {
  dialogs_.Tell(this, Text(msg::kNotice), QString::fromStdString(text), QMessageBox::Warning);
}

void CommunWindow::WriteStopped(const WriteStop& stop) {
  QString text = QString::fromStdString(WriteStopText(stop, session_.Language()));
  if (!stop.dataComplete) text = Text(msg::kCommunicationFailed) + "\n\n" + text;
  dialogs_.Tell(this, Text(msg::kNotice), text, QMessageBox::Warning);
}

void CommunWindow::SetRunning(bool running, bool reading) {
  running_ = running;
  if (running) {
    // The window takes no clicks or keys, but keeps repainting and blinking: input to it is
    // filtered out rather than the window disabled, so that it does not turn grey.
    qApp->installEventFilter(this);
    QFont bold = cmdRead_->font();
    bold.setBold(reading);
    cmdRead_->setFont(bold);
    bold.setBold(!reading);
    cmdWrite_->setFont(bold);
    cmdRead_->setEnabled(false);
    cmdWrite_->setEnabled(false);
    fraRdWrDat_->setEnabled(false);
    tmrLigGrint_->start();
  } else {
    tmrLigGrint_->stop();
    FlushDataList();
    imgGreen_->hide();
    qApp->removeEventFilter(this);
    cmdRead_->setEnabled(true);
    cmdWrite_->setEnabled(true);
    fraRdWrDat_->setEnabled(true);
  }
}

void CommunWindow::tmrLigGrint_Timer() {
  imgGreen_->setVisible(!imgGreen_->isVisible());
  if (linesPending_) FlushDataList();
}

void CommunWindow::fraOne_DblClick() {
  dblClickCount_ = static_cast<int16_t>(dblClickCount_ + 1);
  if (dblClickCount_ % kGestureCount != kGestureToggle) return;
  const int both = fraOne_->height() + fraTwo_->height();
  if (height() > both) {
    setFixedHeight(fraOne_->height() + Twips(kShrinkMarginTwips));
  } else {
    setFixedHeight(both + fraRdWrDat_->height() + Twips(kGrowMarginTwips));
  }
  ShowFramesInside();
}

void CommunWindow::ShowFramesInside() {
  // A frame below the window's edge is hidden, so that Tab and a screen reader skip its
  // controls; the check boxes keep their state for the transfers.
  for (QGroupBox* frame : {fraTwo_, fraRdWrDat_}) {
    frame->setVisible(frame->geometry().bottom() < height());
  }
}

bool CommunWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fraOne_ && event->type() == QEvent::MouseButtonDblClick) {
    fraOne_DblClick();
    return false;
  }
  if (running_ && watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == this) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CommunWindow::HideWindow() {
  prgCommunicate_->setValue(0);
  lblComStatus_->clear();
  QDialog::reject();
}

void CommunWindow::reject() {
  if (running_) return;
  HideWindow();
}

void CommunWindow::closeEvent(QCloseEvent* event) {
  if (programClosing_ && !running_) {
    event->accept();
    return;
  }
  event->ignore();
  if (!running_) HideWindow();
}

}  // namespace tq::ui
