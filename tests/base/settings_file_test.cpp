#include "base/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "base/failure.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

constexpr const char* kSample =
    "; programming tool settings\n"
    "[Setting]\n"
    "Language = 1 \n"
    "ChsFont=宋体\n"
    "ChannelLock=ShowLock\n"
    "\n"
    "[ChInfo]\n"
    "1000=16\n"
    "1203=*EndOfThisItem*\n";

TEST(SettingsRead, MatchesNamesWithoutCaseTrimsAndCutsValuesOrGivesTheDefault) {
  TempFolder dir;
  const SettingsFile settings(dir.Write("a.ini", kSample));
  EXPECT_EQ(settings.ReadSetting("setting", "LANGUAGE", "2", 9), "1");
  EXPECT_EQ(settings.ReadSetting("SETTING", "chsfont", "", 29), "宋体");
  EXPECT_EQ(settings.ReadSetting("ChInfo", "1203", "0", 99), "*EndOfThisItem*");
  // Cut to the reader's length, in whole characters.
  EXPECT_EQ(settings.ReadSetting("Setting", "ChannelLock", "ShowNo", 4), "Show");
  EXPECT_EQ(settings.ReadSetting("Setting", "ChsFont", "", 1), "宋");
  // A missing file, section or key gives the default; a key of another section is not found.
  EXPECT_EQ(SettingsFile(dir / "none.ini").ReadSetting("Setting", "FirRun", "1", 2), "1");
  EXPECT_EQ(settings.ReadSetting("Option", "0", "0", 19), "0");
  EXPECT_EQ(settings.ReadSetting("Setting", "COM", "1", 9), "1");
  EXPECT_EQ(settings.ReadSetting("Setting", "1000", "x", 5), "x");
}

TEST(SettingsWrite, ChangesOneLineAndKeepsEveryOtherLine) {
  TempFolder dir;
  const auto file = dir.Write("a.ini", kSample);
  const SettingsFile settings(file);
  settings.WriteSetting("SETTING", "language", "3");
  EXPECT_EQ(TempFolder::Read(file),
            "; programming tool settings\n"
            "[Setting]\n"
            "Language=3\n"
            "ChsFont=宋体\n"
            "ChannelLock=ShowLock\n"
            "\n"
            "[ChInfo]\n"
            "1000=16\n"
            "1203=*EndOfThisItem*\n");
}

TEST(SettingsWrite, AddsMissingKeysAtTheEndOfTheirSectionAndMissingSectionsAtTheEnd) {
  TempFolder dir;
  const auto file = dir.Write("a.ini", kSample);
  const SettingsFile settings(file);
  settings.WriteSetting("Setting", "COM", "3");
  settings.WriteSetting("Option", "3501", "4");
  EXPECT_EQ(TempFolder::Read(file),
            "; programming tool settings\n"
            "[Setting]\n"
            "Language = 1 \n"
            "ChsFont=宋体\n"
            "ChannelLock=ShowLock\n"
            "COM=3\n"
            "\n"
            "[ChInfo]\n"
            "1000=16\n"
            "1203=*EndOfThisItem*\n"
            "\n"
            "[Option]\n"
            "3501=4\n");
  EXPECT_EQ(settings.ReadSetting("Option", "3501", "0", 19), "4");
}

TEST(SettingsWrite, CreatesAMissingFileAndKeepsWindowsLineEnds) {
  TempFolder dir;
  const SettingsFile fresh(dir / "new.ini");
  fresh.WriteSetting("Setting", "FirRun", "0");
  EXPECT_EQ(TempFolder::Read(dir / "new.ini"), "[Setting]\nFirRun=0\n");

  const auto crlf = dir.Write("crlf.ini", "[Setting]\r\nFirRun=1\r\nCOM=2\r\n");
  SettingsFile(crlf).WriteSetting("Setting", "FirRun", "0");
  EXPECT_EQ(TempFolder::Read(crlf), "[Setting]\r\nFirRun=0\r\nCOM=2\r\n");
}

TEST(SettingsWrite, AFailedWriteLeavesTheOldFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  TempFolder dir;
  const auto file = dir.Write("a.ini", kSample);
  ::chmod(dir.path().c_str(), 0555);
  EXPECT_THROW(SettingsFile(file).WriteSetting("Setting", "Language", "3"), Failure);
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(TempFolder::Read(file), kSample);
}

TEST(SettingsWrite, AWriteIntoAMissingFolderFailsWithAReport) {
  TempFolder dir;
  try {
    SettingsFile(dir / "no" / "such" / "a.ini").WriteSetting("Setting", "COM", "1");
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), 76);  // path not found
  }
}

// A value that does not change is not written again: the file stays the very file it was.
// A value read after another program changed the file is the new one.
TEST(SettingsWrite, AnUnchangedValueLeavesTheFileAlone) {
  TempFolder dir;
  const auto path = dir.Write("s.ini", "[Setting]\nCOM = 3\nLanguage=1\n");
  const SettingsFile settings(path);
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  settings.WriteSetting("setting", "com", "3");
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
  EXPECT_EQ(TempFolder::Read(path), "[Setting]\nCOM = 3\nLanguage=1\n");

  EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "1");
  dir.Write("s.ini", "[Setting]\nLanguage=3\n");
  EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "3");
  settings.WriteSetting("Setting", "Language", "1");
  EXPECT_EQ(settings.ReadSetting("Setting", "Language", "", 9), "1");
}

// Temporary files that a killed save left beside the settings file are removed; other files,
// and a temporary file a save may be writing right now, stay.
TEST(SettingsWrite, StaleTemporaryFilesOfASaveAreRemoved) {
  TempFolder dir;
  const auto path = dir.Write("TQ474.ini", "[Setting]\n");
  const auto stale = dir.Write(".TQ474.ini.a1B2c3", "half");
  const auto fresh = dir.Write(".TQ474.ini.Zz9Yy8", "being written");
  const auto other = dir.Write(".TQ474.ini.notes", "mine");
  std::filesystem::last_write_time(
      stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  SettingsFile(path).RemoveStaleTemporaryFiles();
  EXPECT_FALSE(std::filesystem::exists(stale));
  EXPECT_TRUE(std::filesystem::exists(fresh));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tq
