// The about box frmAboutSoft: program name, version and release, with its own texts for
// Simplified Chinese and English (it does not use the interface text table).
#pragma once

#include <QDialog>
#include <cstdint>

class QLabel;
class QPushButton;

namespace tq::ui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  // `language` 1 gives the Simplified Chinese texts, 2 the Traditional Chinese ones, 3 the
  // English ones; any other value keeps the design texts. `fontName` is the interface font; an
  // empty name keeps the default font.
  AboutBox(int16_t language, const QString& fontName, QWidget* parent = nullptr);
  // Where the program keeps its files, one line each (lblFolders).
  void ShowFolders(const QString& lines);

 private:
  void Form_Load(int16_t language, const QString& fontName);
  void cmdOk_Click();

  QLabel* lblTitle_;
  QPushButton* cmdOk_;
  QLabel* lblUseRange_;
  QLabel* lblVersion_;
  QLabel* lblRelease_;
  QLabel* lblDescription_;
  QLabel* lblRights_;
  QLabel* lblDisClaimer_;
  QLabel* lblFolders_;
};

}  // namespace tq::ui
