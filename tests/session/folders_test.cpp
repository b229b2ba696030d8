// Where a run keeps its files: everything in a program folder that can be written, the user's
// folders for an installed program, whose shipped files are never written.
#include "session/folders.h"

#include <gtest/gtest.h>

#include "base/error_report.h"
#include "base/settings_file.h"
#include "session/session.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

TEST(Folders, AWritableProgramFolderKeepsEverythingAndAnInstalledOneUsesTheUsersFolders) {
  TempFolder tree;
  const UserFolders user{tree / "config", tree / "data"};
  // A build tree or an unpacked folder: the shipped files beside the executable, or in
  // ../share/tq474 of an unpacked installation.
  tree.CopyShippedProgramFiles();
  EXPECT_EQ(FoldersFor(tree.path(), user), Folders::In(tree.path()));
  std::filesystem::create_directories(tree / "usr/bin");
  std::filesystem::create_directories(tree / "usr/share/tq474");
  std::filesystem::copy_file(tree / kSettingsFileName,
                             tree / "usr/share/tq474" / kSettingsFileName);
  EXPECT_EQ(FoldersFor(tree / "usr/bin", user), Folders::In(tree / "usr/share/tq474"));
  // Installed under /usr: the package's files are nobody's to write, not even root's.
  const Folders installed = FoldersFor("/usr/lib/tq474-nowhere/bin", user);
  EXPECT_EQ(installed.settingsFile, tree / "config" / kSettingsFileName);
  EXPECT_EQ(installed.data, tree / "data");
}

TEST(Folders, TheFirstRunCopiesTheShippedSettingsAndLeavesThemAlone) {
  TempFolder shipped;
  TempFolder user;
  shipped.CopyShippedProgramFiles();
  const std::string before = TempFolder::Read(shipped / kSettingsFileName);
  const Folders folders{shipped.path(), user / "config/TQ474.ini", user / "data"};
  ErrorReport report;
  Session session(folders, report);
  ASSERT_TRUE(session.StartUp()) << (report.lines().empty() ? "" : report.lines().back());
  EXPECT_TRUE(std::filesystem::exists(user / "config/TQ474.ini"));
  EXPECT_TRUE(std::filesystem::is_directory(user / "data/Data"));
  session.ChoosePort(4);  // a change the settings file keeps
  EXPECT_EQ(SettingsFile(user / "config/TQ474.ini").ReadSetting("Setting", "COM", "", 9), "4");
  EXPECT_EQ(TempFolder::Read(shipped / kSettingsFileName), before);
  EXPECT_EQ(session.DataFolder(), user / "data");
}

}  // namespace
}  // namespace tq
