// The radio information window frmRadioInfo: model, frequency range, software version and the
// time of the last write, with a hidden switch that lets the frame open the memory window.
#pragma once

#include <QWidget>
#include <cstdint>

#include "base/text_table.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace tq::ui {

class RadioInfoWindow : public QWidget {
  Q_OBJECT

 public:
  // Captions from the interface texts 300 (window) and 183 to 187 of `texts`.
  explicit RadioInfoWindow(const tq::SoftFace& texts, QWidget* parent = nullptr);

  // Fills the value fields: the model name, the band as "400.00000 - 470.00000MHz" (see
  // RangeText) and the time of the last write. The range list selects the entry with the same
  // text, or "Custom" when none has it.
  void ShowRadio(const QString& model, const QString& range, const QString& lastWrite);

  // A band as the range field shows it, limits in units of 10 Hz: 40000000 and 47000000 give
  // "400.00000 - 470.00000MHz".
  static QString RangeText(int32_t lower, int32_t upper);

  // The debug switch: 0 at start, -1 (all ones) while the frame may open the memory window.
  int16_t debugFlag() const noexcept { return debugFlag_; }

 signals:
  // The frame was double-clicked while the debug switch was on.
  void memoryWindowRequested();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void InitOpt(const tq::SoftFace& texts);
  void lblDebug_DblClick();
  void fraMain_DblClick();

  int16_t debugFlag_ = 0;
  QGroupBox* fraMain_;
  QLabel* lblModel_;
  QLineEdit* txtModel_;
  QLabel* lblRange_;
  QLineEdit* txtRange_;
  QComboBox* cboRange_;
  QLabel* lblSoftVer_;
  QLineEdit* txtSoftVer_;
  QLabel* lblLastPc_;
  QLineEdit* txtLastPc_;
  QLabel* lblDebug_;
};

}  // namespace tq::ui
