// tq474-cli diff: two data sets compared in user terms, as text and as JSON, files or a radio.
#include <gtest/gtest.h>

#include "base/settings_file.h"
#include "support/process.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::CommandResult;
using testing::RunCommand;
using testing::SimProcess;
using testing::TempFolder;

class CliDiffTest : public ::testing::Test {
 protected:
  CliDiffTest() {
    home.CopyShippedProgramFiles();
    SettingsFile(home / kSettingsFileName).WriteSetting("Setting", "Language", "3");
    EXPECT_EQ(Cli("new '" + before.string() + "'").status, 0);
    image = TempFolder::Read(before);
  }

  CommandResult Cli(const std::string& arguments) {
    return RunCommand(std::string(TQ474_CLI) + " --home '" + home.path().string() + "' " +
                      arguments);
  }

  CommandResult Diff(const std::string& a, const std::string& b, const char* extra = "") {
    return Cli("diff '" + a + "' '" + b + "'" + extra);
  }

  // The fresh image with channel 3 at 146.525 MHz and a CTCSS 88.5 transmit tone, squelch 2,
  // the 136-174 MHz band and one stray byte at 0x0500.
  std::string Edited() const {
    std::string bytes = image;
    const char record[] = "\x00\x25\x65\x14\x00\x25\x65\x14\xFF\xFF\x75\x03";
    bytes.replace(0x30, 12, record, 12);
    bytes[0x134] = 2;
    bytes.replace(0x37A, 4, "\x13\x60\x17\x40", 4);
    bytes[0x500] = '\xAB';
    return bytes;
  }

  TempFolder home;
  TempFolder work;
  std::filesystem::path before = work / "before.bin";
  std::string image;
};

TEST_F(CliDiffTest, NamesEveryChangeInUserTermsAsTextAndJson) {
  const auto after = work.Write("after.bin", Edited());
  const CommandResult text = Diff(before.string(), after.string());
  EXPECT_EQ(text.status, 1) << text.err;
  const std::string channel = text.out.substr(text.out.find("CH 3"));
  EXPECT_EQ(text.out.substr(0, text.out.find("CH 3")),
            "Frequency  400.00000 - 470.00000 MHz -> 136.00000 - 174.00000 MHz\n");
  EXPECT_EQ(channel.substr(0, channel.find("  Bandwidth")),
            "CH 3  Rx Freq[MHz] - -> 146.52500  Tx Freq[MHz] - -> 146.52500  Decode - -> None"
            "  Encode - -> 88.5");
  EXPECT_NE(text.out.find("\nSql  5 -> 2\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("\nOther bytes at 0500  FF -> AB\n"), std::string::npos) << text.out;
  EXPECT_EQ(text.out.find("0030"), std::string::npos) << "channel bytes are not listed raw";

  const CommandResult json = Diff(before.string(), after.string(), " --json");
  EXPECT_EQ(json.status, 1) << json.err;
  for (const char* part :
       {"{\"equal\": false, \"model\": null, \"band\": {\"column\": 0, \"name\": \"Frequency\"",
        "{\"number\": 3, \"fields\": [{\"column\": 1, \"name\": \"Rx Freq[MHz]\", \"old\": \"-\","
        " \"new\": \"146.52500\"}",
        "{\"slot\": 1, \"name\": \"Sql\", \"old\": 5, \"new\": 2, \"old_text\": \"5\"",
        "\"bytes\": [{\"range\": \"0500\", \"old\": \"FF\", \"new\": \"AB\"}]}\n"}) {
    EXPECT_NE(json.out.find(part), std::string::npos) << part << "\n" << json.out;
  }

  SettingsFile(home / kSettingsFileName).WriteSetting("Setting", "Language", "1");
  EXPECT_NE(Diff(before.string(), after.string()).out.find("\n其他字节 地址 0500  FF -> AB"),
            std::string::npos);
}

TEST_F(CliDiffTest, EqualSidesPrintNothingAndAMissingSideIsAnError) {
  const auto again = work / "again.bin";
  ASSERT_EQ(Cli("new '" + again.string() + "'").status, 0);
  const CommandResult same = Diff(before.string(), again.string());
  EXPECT_EQ(same.status, 0) << same.out << same.err;
  EXPECT_EQ(same.out, "");
  const CommandResult missing = Diff(before.string(), (work / "none.bin").string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("none.bin"), std::string::npos) << missing.err;
  EXPECT_EQ(Diff("radio:", before.string()).status, 2);
}

TEST_F(CliDiffTest, ARadioSideIsReadFirst) {
  const auto after = work.Write("after.bin", Edited());
  const auto link = work / "radio";
  SimProcess sim(link, {"--image", after.string()});
  ASSERT_TRUE(sim.Up());
  const CommandResult run = Diff("radio:" + link.string(), after.string());
  EXPECT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_TRUE(std::filesystem::exists(home / "transfers.jsonl")) << "the read was logged";
}

}  // namespace
}  // namespace tq
