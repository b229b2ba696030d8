// The interface lock protects the channels from the right-button menu too: locked from the
// Settings menu, the menu offers its lock item checked and no channel command.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <memory>

#include "session/session.h"
#include "support/program.h"
#include "support/scripted_dialogs.h"
#include "support/temp_folder.h"
#include "ui/channel_grid_view.h"

namespace tq::ui {
namespace {

TEST(InterfaceLock, TheRightButtonMenuOffersNoChannelCommandWhileLocked) {
  testing::TempFolder home;
  home.CopyShippedProgramFiles();
  SettingsFile(home / kSettingsFileName).WriteSetting("Setting", "FirRun", "0");
  testing::ScriptedDialogs dialogs;
  testing::Program program(home.path(), dialogs);
  ASSERT_TRUE(program.started);
  auto* view = program.window.findChild<ChannelGridView*>("vsfgGridCh");
  ASSERT_NE(view, nullptr);

  ChannelRow channel = program.doc.Channels()[1];
  channel.field[1] = 14652500;
  program.doc.EditChannel(1, channel);
  program.Action("mnuLockFace")->trigger();
  ASSERT_TRUE(program.doc.Locked());
  std::unique_ptr<QMenu> menu = view->BuildChannelMenu(1, 1);
  ASSERT_NE(menu, nullptr);
  QAction* lock = menu->findChild<QAction*>("mnuPopChLock");
  EXPECT_TRUE(lock->isVisible());
  EXPECT_TRUE(lock->isChecked());
  for (const char* command : {"mnuDelOne", "mnuDelAll", "mnuOpenCh", "mnuSaveDef"}) {
    EXPECT_FALSE(menu->findChild<QAction*>(command)->isEnabled()) << command;
  }
  const ChannelTable before = program.doc.Channels();
  view->grid().mnuDelAll_Click();  // even a command that reaches the grid changes nothing
  for (int n = 1; n <= 16; ++n) EXPECT_EQ(program.doc.Channels()[n], before[n]) << n;

  // Unlocking from the menu's own item clears both check marks of the main menu.
  lock->trigger();
  EXPECT_FALSE(program.doc.Locked());
  EXPECT_FALSE(program.Action("mnuLockFace")->isChecked());
  EXPECT_FALSE(program.Action("mnuChLock")->isChecked());
}

}  // namespace
}  // namespace tq::ui
