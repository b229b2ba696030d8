// Dialogs for widget tests: every question is answered from a script, and every question,
// message and file request is kept for the test to examine.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <deque>
#include <vector>

#include "ui/dialogs.h"

namespace tq::testing {

// Answers the windows' questions from a script and keeps what was asked.
class ScriptedDialogs final : public tq::ui::Dialogs {
 public:
  bool Ask(QWidget*, const QString& title, const QString& text) override {
    asked.push_back(title + "|" + text);
    return NextAnswer();
  }
  void Tell(QWidget*, const QString& title, const QString& text, QMessageBox::Icon icon) override {
    told.push_back(title + "|" + text);
    icons.push_back(icon);
  }
  QString OpenFileName(QWidget*, const QString& start, const QString& filter) override {
    starts.push_back(start);
    filters.push_back(filter);
    return Next();
  }
  QString SaveFileName(QWidget*, const QString& start, const QString& filter,
                       const QString&) override {
    starts.push_back(start);
    filters.push_back(filter);
    return Next();
  }
  void OpenWithDesktop(const QString& path) override { opened.push_back(path); }
  bool Review(QWidget*, const QString& title, const QString& text) override {
    reviewed.push_back(title + "|" + text);
    return NextAnswer();
  }

  std::deque<bool> answers;
  std::deque<QString> files;
  QStringList asked, told, starts, filters, opened, reviewed;
  std::vector<QMessageBox::Icon> icons;

 private:
  // The next scripted answer; No when the script has run out.
  bool NextAnswer() {
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString Next() {
    if (files.empty()) return {};
    QString file = files.front();
    files.pop_front();
    return file;
  }
};

}  // namespace tq::testing
