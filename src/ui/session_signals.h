// The session's change notices as Qt signals: windows connect to them with pointer-to-member
// syntax instead of pushing refreshes into each other.
#pragma once

#include <QObject>
#include <QString>

#include "session/session.h"

namespace tq::ui {

class SessionSignals : public QObject, private SessionObserver {
  Q_OBJECT

 public:
  explicit SessionSignals(Session& session, QObject* parent = nullptr);
  ~SessionSignals() override;

 signals:
  void dataReplaced();
  void aboutToFold();
  void channelChanged(int n);
  void optionsChanged();
  void imageChanged();
  void lockChanged(bool locked);
  void portChanged(int port);
  void dataPathChanged();
  void reportAdded(const QString& line, int index);
  void historyChanged();

 private:
  void DataReplaced() override { emit dataReplaced(); }
  void AboutToFold() override { emit aboutToFold(); }
  void ChannelChanged(int n) override { emit channelChanged(n); }
  void OptionsChanged() override { emit optionsChanged(); }
  void ImageChanged() override { emit imageChanged(); }
  void LockChanged(bool locked) override { emit lockChanged(locked); }
  void PortChanged(int16_t port) override { emit portChanged(port); }
  void DataPathChanged() override { emit dataPathChanged(); }
  void HistoryChanged() override { emit historyChanged(); }
  void ReportAdded(const std::string& line, int index) override {
    emit reportAdded(QString::fromStdString(line), index);
  }

  Session& session_;
};

}  // namespace tq::ui
