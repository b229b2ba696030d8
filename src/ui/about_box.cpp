#include "ui/about_box.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text_table.h"
#include "ui/icons.h"

namespace tq::ui {
namespace {

// The texts of one language.
struct AboutTexts {
  const char* caption;
  const char* title;
  const char* ok;
  const char* useRange;
  const char* version;
  const char* release;
  const char* description;
  const char* rights;
};

constexpr AboutTexts kSimplifiedChinese = {.caption = "关于",
                                           .title = "TQ-474对讲机编程软件",
                                           .ok = "确定",
                                           .useRange = "用于TQ-474等",
                                           .version = "中英文版: V1.0",
                                           .release = "发布时间: 2011.10.09",
                                           .description = "",
                                           .rights = ""};
constexpr AboutTexts kTraditionalChinese = {.caption = "關於",
                                            .title = "TQ-474對講機編程軟體",
                                            .ok = "確定",
                                            .useRange = "用於TQ-474等",
                                            .version = "中英文版: V1.0",
                                            .release = "釋出時間: 2011.10.09",
                                            .description = "",
                                            .rights = ""};
constexpr AboutTexts kEnglish = {.caption = "About",
                                 .title = "TQ-474 Radio Programming Software",
                                 .ok = "OK",
                                 .useRange = "For TQ-474 etc",
                                 .version = "Version: V1.0",
                                 .release = "Release: 2011.10.09",
                                 .description = "",
                                 .rights = ""};

// What the box shows before its texts are set, and keeps for a language value outside 1 to 3:
// the English texts with the descriptive line filled in.
constexpr AboutTexts kDesign = {.caption = "About",
                                .title = "TQ-474 Radio Programming Software",
                                .ok = "OK",
                                .useRange = "For TQ-474 etc",
                                .version = "Version: V1.0",
                                .release = "Release: 2011.10.09",
                                .description = "TQ-474 programming tool",
                                .rights = ""};
constexpr const char* kDisclaimer = "This program is provided as is, without warranty.";

constexpr int kTitlePoints = 14;
constexpr int kPictureSize = 64;
constexpr int kTextWidth = 320;  // the text column's least width, so the disclaimer wraps late

QLabel* MakeLabel(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

void SetFontName(QWidget* widget, const QString& fontName) {
  QFont font = widget->font();
  font.setFamily(fontName);
  widget->setFont(font);
}

}  // namespace

AboutBox::AboutBox(int16_t language, const QString& fontName, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAboutSoft"));
  setModal(true);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("imgAbout"));
  picture->setPixmap(ApplicationIcon().pixmap(kPictureSize, kPictureSize));
  picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  picture->setFixedWidth(kPictureSize + 16);

  lblTitle_ = MakeLabel(this, "lblTitle");
  lblUseRange_ = MakeLabel(this, "lblUseRange");
  lblVersion_ = MakeLabel(this, "lblVersion");
  lblRelease_ = MakeLabel(this, "lblRelease");
  lblDescription_ = MakeLabel(this, "lblDescription");
  lblRights_ = MakeLabel(this, "lblRights");
  lblFolders_ = MakeLabel(this, "lblFolders");
  lblFolders_->hide();
  lblDisClaimer_ = MakeLabel(this, "lblDisClaimer");
  lblDisClaimer_->setWordWrap(true);
  lblDisClaimer_->setMinimumWidth(kTextWidth);
  QPalette quiet = lblDisClaimer_->palette();
  quiet.setColor(QPalette::WindowText, quiet.color(QPalette::PlaceholderText));
  lblDisClaimer_->setPalette(quiet);
  cmdOk_ = new QPushButton(this);
  cmdOk_->setObjectName(QStringLiteral("cmdOk"));
  cmdOk_->setDefault(true);
  cmdOk_->setMinimumWidth(88);
  connect(cmdOk_, &QPushButton::clicked, this, &AboutBox::cmdOk_Click);

  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);

  auto* texts = new QVBoxLayout;
  texts->setSpacing(4);
  texts->addWidget(lblTitle_);
  texts->addSpacing(6);
  texts->addWidget(lblUseRange_);
  texts->addWidget(lblVersion_);
  texts->addWidget(lblRelease_);
  texts->addWidget(lblDescription_);
  texts->addWidget(lblRights_);
  texts->addWidget(lblFolders_);
  texts->addSpacing(6);
  texts->addWidget(rule);
  texts->addWidget(lblDisClaimer_);
  texts->addStretch(1);

  auto* body = new QHBoxLayout;
  body->setSpacing(12);
  body->addWidget(picture);
  body->addLayout(texts, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOk_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 18, 20, 14);
  layout->setSpacing(12);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);

  Form_Load(language, fontName);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutBox::ShowFolders(const QString& lines) {
  lblFolders_->setText(lines);
  lblFolders_->setVisible(!lines.isEmpty());
}

void AboutBox::Form_Load(int16_t language, const QString& fontName) {
  const AboutTexts* texts = &kDesign;
  if (language == kLangSimplifiedChinese) texts = &kSimplifiedChinese;
  if (language == kLangTraditionalChinese) texts = &kTraditionalChinese;
  if (language == kLangEnglish) texts = &kEnglish;
  setWindowTitle(QString::fromUtf8(texts->caption));
  lblTitle_->setText(QString::fromUtf8(texts->title));
  cmdOk_->setText(QString::fromUtf8(texts->ok));
  lblUseRange_->setText(QString::fromUtf8(texts->useRange));
  lblVersion_->setText(QString::fromUtf8(texts->version));
  lblRelease_->setText(QString::fromUtf8(texts->release));
  lblDescription_->setText(QString::fromUtf8(texts->description));
  lblRights_->setText(QString::fromUtf8(texts->rights));
  lblDisClaimer_->setText(QString::fromUtf8(kDisclaimer));

  // The interface font goes to every control that carries a language text; the disclaimer
  // keeps the dialog's own font, as it keeps its text.
  if (!fontName.isEmpty()) {
    for (QWidget* widget :
         std::initializer_list<QWidget*>{lblTitle_, cmdOk_, lblUseRange_, lblVersion_, lblRelease_,
                                         lblDescription_, lblRights_}) {
      SetFontName(widget, fontName);
    }
  }
  QFont title = lblTitle_->font();
  title.setPointSize(kTitlePoints);
  title.setBold(true);
  lblTitle_->setFont(title);
}

void AboutBox::cmdOk_Click() {
  accept();
}

}  // namespace tq::ui
