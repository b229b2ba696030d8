// The channel window frmChMem, maximised inside the main window: the model and band boxes, the
// channel area and the optional-features frame. It refuses to close until the program closes.
#pragma once

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;

namespace tq {
struct Document;
}

namespace tq::ui {

class ChannelWindow : public QWidget {
  Q_OBJECT

 public:
  ChannelWindow(Document& doc, const bool& programClosing, QWidget* parent = nullptr);

  // Captions from the text table (InitFace) and the model and band lists (ChInfoModel).
  void InitFace();
  void ChInfoModel();
  // Shows the model and band the document holds, without running the band selection.
  void ShowModelAndBand();
  // The interface lock: the model and option frames take no input while locked.
  void SetLocked(bool locked);

  QGroupBox* fraModel() const { return fraModel_; }
  QGroupBox* fraCommonSet() const { return fraCommonSet_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void cboModel_Click();
  void cboFrequency_Click();

  Document& doc_;
  const bool& programClosing_;
  QGroupBox* fraModel_;
  QGroupBox* fraMain_;
  QGroupBox* fraCommonSet_;
  QLabel* lblModel_;
  QLabel* lblFrequency_;
  QComboBox* cboModel_;
  QComboBox* cboFrequency_;
  bool filling_ = false;
};

}  // namespace tq::ui
