// The optional-features window frmSysSet reached from the settings tree. The optional features
// themselves are edited in the channel window; this window only carries its print button.
#pragma once

#include <QWidget>

class QPushButton;

namespace tq::ui {

class SysSetWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SysSetWindow(QWidget* parent = nullptr);

  // The window's initialisation: it has no values to show, so it sets nothing.
  void InitPara();

 private:
  QPushButton* cmdSysSetPrint_;
};

}  // namespace tq::ui
