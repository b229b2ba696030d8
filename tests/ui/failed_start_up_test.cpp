// A start-up that failed leaves data the settings do not describe: the program skips the steps
// after the failing one, shows the report and offers no command that would write those data to a
// file or a radio.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>

#include "session/session.h"
#include "support/program.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/channel_window.h"
#include "ui/error_list.h"

namespace tq::ui {
namespace {

TEST(FailedStartUp, ReadWriteAndSaveStayDisabledWithTheReportShown) {
  testing::TempFolder home;
  home.CopyShippedProgramFiles();
  const SettingsFile settings(home / kSettingsFileName);
  settings.WriteSetting("Setting", "FirRun", "0");
  settings.WriteSetting("Setting", "COM", "17");
  testing::ScriptedDialogs dialogs;
  testing::Program program(home.path(), dialogs);
  ASSERT_FALSE(program.started);
  for (const char* name :
       {"mnuReadFre", "mnuWriteFre", "mnuFileSave", "mnuFileSaveAs", "Read", "Write", "FileSave"}) {
    EXPECT_FALSE(program.Action(name)->isEnabled()) << name;
  }
  ASSERT_NE(program.window.errorList(), nullptr);
  EXPECT_TRUE(program.window.errorList()->isVisible());
  EXPECT_EQ(program.window.errorList()->findChild<QListWidget*>("listShowErr")->count(), 2);
  EXPECT_EQ(program.window.channelWindow(), nullptr) << "the channel window step was skipped";
  // A command that reaches the window another way does nothing either.
  const std::filesystem::path file = home / "saved.dat";
  dialogs.files = {QString::fromStdString(file.string())};
  program.window.SaveAsFile();
  EXPECT_TRUE(dialogs.starts.isEmpty()) << "no file dialog";
  EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace tq::ui
