// tq474-cli export and import: channel CSV in and out of data files, with the exit statuses and
// per-row messages scripts rely on.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/settings_file.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::TempFolder;

constexpr const char* kCsv =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n"
    "1,,446.006250,,0.600000,TSQL,67.0,67.0,023,NN,023,Tone->Tone,NFM,6.25,,0.5W,,,,,\n"
    "3,,435.000000,split,438.500000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,NFM,5.00,,1.0W,,,,,\n"
    "4,,462.550000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,5.0W,,,,,\n";

class CliCsvTest : public ::testing::Test {
 protected:
  CliCsvTest() { home.CopyShippedProgramFiles(); }

  CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " +
                      arguments);
  }
  std::string At(const char* name) const { return " '" + (work / name).string() + "'"; }

  TempFolder home;
  TempFolder work;
};

TEST_F(CliCsvTest, ExportedChannelsImportIntoTheSameData) {
  work.Write("in.csv", kCsv);
  const CommandResult imported = Cli("import" + At("in.csv") + At("a.dat"));
  ASSERT_EQ(imported.status, 0) << imported.err;
  const CommandResult exported = Cli("export" + At("a.dat") + At("out.csv"));
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string csv = TempFolder::Read(work / "out.csv");
  EXPECT_EQ(csv.substr(0, csv.find('\n')), std::string(kCsv).substr(0, csv.find('\n')));
  EXPECT_NE(csv.find("\n3,,435.000000,+,3.500000,Cross,88.5,88.5,023,NR,754,DTCS->DTCS,NFM,5.00,"
                     ",1.0W,Busy Lock=Off,,,,\n"),
            std::string::npos)
      << csv;
  EXPECT_EQ(Cli("import" + At("out.csv") + At("b.bin")).status, 0);
  const CommandResult same = Cli("diff" + At("a.dat") + At("b.bin"));
  EXPECT_EQ(same.out.find("CH "), std::string::npos) << same.out;
}

TEST_F(CliCsvTest, RefusedRowsAreNamedAndTheRestIsSaved) {
  work.Write("in.csv", std::string(kCsv) + "5,,446.1,,,Tone,999,,,,,,,,,,,,,,\n");
  const CommandResult run = Cli("import" + At("in.csv") + At("a.dat"));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("in.csv:5: rToneFreq: \"999\" is not a CTCSS tone"), std::string::npos)
      << run.err;
  EXPECT_TRUE(std::filesystem::exists(work / "a.dat"));

  const CommandResult dry = Cli("import --dry-run" + At("in.csv") + At("b.dat"));
  EXPECT_EQ(dry.status, 1);
  EXPECT_NE(dry.out.find("CH 4  Rx Freq[MHz] - -> 462.55000"), std::string::npos) << dry.out;
  EXPECT_FALSE(std::filesystem::exists(work / "b.dat")) << "a dry run writes nothing";
}

TEST_F(CliCsvTest, WhatIsNotAChannelListWritesNothing) {
  work.Write("text.csv", "just some words\nand more\n");
  work.Write("empty.csv", "");
  {
    std::filesystem::resize_file(work.Write("huge.csv", ""), 50u << 20);  // 50 MB of zeros
  }
  for (const char* name : {"text.csv", "empty.csv", "huge.csv"}) {
    const CommandResult run = Cli(std::string("import") + At(name) + At("out.dat"));
    EXPECT_EQ(run.status, 2) << name << run.err;
    EXPECT_FALSE(std::filesystem::exists(work / "out.dat")) << name;
  }
}

}  // namespace
}  // namespace tq
