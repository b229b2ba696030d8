// The Edit menu and the channel list commands of the File menu: undo and redo over the session's
// history, whole channels cut, copied and pasted as channel CSV (so they go to and from a
// spreadsheet or another copy of the program), channels moved up and down, and File > Import
// Channels... / Export Channels... with a preview before anything changes.
#pragma once

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace tq {
class Session;
}  // namespace tq

namespace tq::ui {

class ChannelGridView;
class Dialogs;
class SessionSignals;

class ChannelCommands final : public QObject {
 public:
  struct Actions {
    QAction* undo;
    QAction* redo;
    QAction* cut;
    QAction* copy;
    QAction* paste;
    QAction* moveUp;
    QAction* moveDown;
    QAction* importChannels;
    QAction* exportChannels;
  };

  // `window` parents the dialogs; the commands act on the channel under the grid's right-button
  // menu while it is open, else on the grid's current channel.
  ChannelCommands(Session& session, SessionSignals& notices, ChannelGridView& grid,
                  Dialogs& dialogs, QWidget* window, const Actions& actions);

  void Undo();
  void Redo();
  void Cut();
  void Copy();
  void Paste();
  void Move(int delta);
  void ImportChannels();
  void ExportChannels();
  // Enables the entries as the history, the lock and the data allow.
  void UpdateEntries();

 private:
  int Channel() const;
  QString Text(int number) const;
  void Tell(const QString& text, bool failed);

  Session& session_;
  ChannelGridView& grid_;
  Dialogs& dialogs_;
  QWidget* window_;
  Actions actions_;
};

}  // namespace tq::ui
