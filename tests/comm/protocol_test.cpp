#include "comm/protocol.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <tuple>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/text_table.h"
#include "comm/data_list.h"
#include "comm/serial_link.h"
#include "comm/transfer.h"
#include "comm/wait.h"
#include "image/memory_image.h"
#include "image/stamp.h"
#include "support/outcomes.h"
#include "support/scripted_link.h"

namespace tq {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::CountingWait;
using testing::ScriptedLink;

std::string Values(int count) {
  std::string text;
  for (int k = 0; k < count; ++k) text += "VA";
  return text;
}

// ---------------------------------------------------------------------------------------------
// Address field and script lists

TEST(AddressField, CarriesTheTopDigitWeighted0x400) {
  EXPECT_EQ(AddressField(0x0010), (std::array<uint8_t, 2>{0x00, 0x10}));
  EXPECT_EQ(AddressField(0x03F0), (std::array<uint8_t, 2>{0x03, 0xF0}));
  EXPECT_EQ(AddressField(0x0400), (std::array<uint8_t, 2>{0x10, 0x00}));
  EXPECT_EQ(AddressField(0x0C30), (std::array<uint8_t, 2>{0x30, 0x30}));
  EXPECT_EQ(AddressField(0x1FF0), (std::array<uint8_t, 2>{0x73, 0xF0}));
}

TEST(InitProtocol, TwoBlocksGiveEntryBlocksAndEndWithTheirPercents) {
  const ScriptLists lists = InitProtocol(0x0000, 0x001F, 0x0000, 0x001F);
  const std::vector<ScriptEntry> read = {
      {"TX3A91C40E7B25D8RX06EN", 0, 0, 3},
      {"TX52000010RX57000010" + Values(16) + "EN", 0x0000, 16, 50},
      {"TX52001010RX57001010" + Values(16) + "EN", 0x0010, 16, 97},
      {"TX6C0F93B1D47E28EN", 0, 0, 100},
  };
  const std::vector<ScriptEntry> write = {
      {"TX3A91C40E7B25D8RX06EN", 0, 0, 3},
      {"TX57000010" + Values(16) + "RX06EN", 0x0000, 16, 50},
      {"TX57001010" + Values(16) + "RX06EN", 0x0010, 16, 100},
      {"TX02RX020330100BEN", 0, 0, 100},
  };
  EXPECT_EQ(lists.read, read);
  EXPECT_EQ(lists.write, write);
  EXPECT_EQ(lists.ScriptCount, 4);
  EXPECT_EQ(lists.WriteScriptCount, 4);
}

TEST(InitProtocol, ReadAndWriteListsFollowTheirOwnRanges) {
  const ScriptLists lists = InitProtocol(0x0000, 0x0005, 0x0330, 0x0334);
  ASSERT_EQ(lists.read.size(), 3u);
  EXPECT_EQ(lists.read[1], (ScriptEntry{"TX52000006RX57000006" + Values(6) + "EN", 0, 6, 97}));
  ASSERT_EQ(lists.write.size(), 3u);
  EXPECT_EQ(lists.write[1], (ScriptEntry{"TX57033005" + Values(5) + "RX06EN", 0x0330, 5, 100}));
}

TEST(InitProtocol, AStartAboveTheEndLeavesOnlyTheFirstAndLastEntries) {
  const ScriptLists lists = InitProtocol(0x0010, 0x0000, 0x1FFF, 0x0000);
  ASSERT_EQ(lists.read.size(), 2u);
  EXPECT_EQ(lists.read[0].script, "TX3A91C40E7B25D8RX06EN");
  EXPECT_EQ(lists.read[1].script, "TX6C0F93B1D47E28EN");
  ASSERT_EQ(lists.write.size(), 2u);
  EXPECT_EQ(lists.write[1].script, "TX02RX020330100BEN");
  EXPECT_EQ(lists.ScriptCount, 2);
  EXPECT_EQ(lists.WriteScriptCount, 2);
}

TEST(InitProtocol, TheWholeImageIs512BlocksAcrossTheWeightedAddressField) {
  const ScriptLists lists = InitProtocol(0x0000, 0x1FFF, 0x0000, 0x1FFF);
  ASSERT_EQ(lists.read.size(), 514u);
  ASSERT_EQ(lists.write.size(), 514u);
  EXPECT_EQ(lists.ScriptCount, 514);

  // B = 512: entry 2 shows 3 %, entry 257 (block 0x0FF0) 50 %, the last block 97 %.
  EXPECT_EQ(lists.read[1].ScriptPercent, 3);
  EXPECT_EQ(lists.read[256].ScriptAddr, 0x0FF0);
  EXPECT_EQ(lists.read[256].ScriptPercent, 50);
  EXPECT_EQ(lists.read[65].script, "TX52100010RX57100010" + Values(16) + "EN");  // 0x0400

  const ScriptEntry& lastRead = lists.read[512];
  EXPECT_EQ(lastRead.ScriptAddr, 0x1FF0);
  EXPECT_EQ(lastRead.ScriptLen, 16);
  EXPECT_EQ(lastRead.ScriptPercent, 97);
  EXPECT_EQ(lastRead.script, "TX5273F010RX5773F010" + Values(16) + "EN");
  EXPECT_EQ(lists.write[512].script, "TX5773F010" + Values(16) + "RX06EN");
  EXPECT_EQ(lists.write[512].ScriptPercent, 100);
  EXPECT_EQ(lists.read[513].ScriptPercent, 100);

  // Each address of the image is covered once, in order.
  int next = 0;
  for (std::size_t k = 1; k + 1 < lists.read.size(); ++k) {
    EXPECT_EQ(lists.read[k].ScriptAddr, next);
    next += lists.read[k].ScriptLen;
  }
  EXPECT_EQ(next, 0x2000);
}

TEST(InitProtocol, AListOfMoreThan520EntriesFailsWithIndexOutOfRange) {
  // 518 blocks (0x0000-0x205F) and the two fixed entries fill a list exactly.
  EXPECT_EQ(InitProtocol(0x0000, 0x205F, 0, 0).read.size(), 520u);
  try {
    InitProtocol(0x0000, 0x1FFF, 0x0000, 0x2060);
    FAIL() << "no failure";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.number(), err::kIndexOutOfRange);
  }
  EXPECT_THROW(InitProtocol(-32768, 32767, 0, 0), Failure);
}

TEST(InitProtocol, ARangeEndingAtTheLargestAddressEnds) {
  const ScriptLists lists = InitProtocol(0x7FF0, 0x7FFF, 0x7FFE, 0x7FFF);
  ASSERT_EQ(lists.read.size(), 3u);
  EXPECT_EQ(lists.read[1].ScriptAddr, 0x7FF0);
  EXPECT_EQ(lists.read[1].ScriptLen, 16);
  ASSERT_EQ(lists.write.size(), 3u);
  EXPECT_EQ(lists.write[1].ScriptLen, 2);
}

// ---------------------------------------------------------------------------------------------
// Data list

// The first four bytes make the Tx or Rx line, then sixteen bytes a line.
TEST(FormatComData, FourBytesOnTheFirstLineThenSixteenALine) {
  EXPECT_EQ(FormatComData(kComReceived, Bytes{0x06}), (std::vector<std::string>{"Rx: 06 "}));
  EXPECT_EQ(FormatComData(kComSent, Bytes{}), (std::vector<std::string>{"Tx: "}));
  const Bytes seven = {0x3A, 0x91, 0xC4, 0x0E, 0x7B, 0x25, 0xD8};
  EXPECT_EQ(FormatComData(kComSent, seven),
            (std::vector<std::string>{"Tx: 3A 91 C4 0E ", "    7B 25 D8 "}));

  Bytes reply = {0x57, 0x00, 0x10, 0x10};
  for (uint8_t k = 0; k < 16; ++k) reply.push_back(static_cast<uint8_t>(0xA0 + k));
  const std::vector<std::string> twenty = {
      "Rx: 57 00 10 10 ",
      "       A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF ",
  };
  EXPECT_EQ(FormatComData(kComReceived, reply), twenty);
  reply.push_back(0x0B);
  const std::vector<std::string> twentyOne = {twenty[0], twenty[1], "    0B "};
  EXPECT_EQ(FormatComData(kComReceived, reply), twentyOne);
}

// Keeps every notice of a data list.
struct SeenLines final : DataListObserver {
  void LineAdded(const std::string& line, int index, bool cleared) override {
    seen.emplace_back(line, index, cleared);
  }
  std::vector<std::tuple<std::string, int, bool>> seen;
};

TEST(DataList, The3001stLineOrClearStartsTheListAgain) {
  DataList list;
  SeenLines lines;
  list.Subscribe(lines);
  const auto& seen = lines.seen;
  for (int k = 0; k < 3000; ++k) list.AddLine("line " + std::to_string(k));
  EXPECT_EQ(list.lines().size(), 3000u);
  EXPECT_EQ(list.ListLine(), 3000);
  EXPECT_EQ(std::get<1>(seen.back()), 2999);
  EXPECT_FALSE(std::get<2>(seen.back()));

  list.AddLine("line 3000");
  ASSERT_EQ(list.lines().size(), 1u);
  EXPECT_EQ(list.lines()[0], "line 3000");
  EXPECT_EQ(list.ListLine(), 1);
  EXPECT_EQ(seen.back(), std::make_tuple(std::string("line 3000"), 0, true));

  list.ComDataShow(kComReceived, Bytes(21, 0x11));
  EXPECT_EQ(list.ListLine(), 4);
  list.Clear();
  EXPECT_EQ(seen.back(), std::make_tuple(std::string(), 0, true));
  EXPECT_TRUE(list.lines().empty());
  EXPECT_EQ(list.ListLine(), 0);
}

// ---------------------------------------------------------------------------------------------
// Date and time stamp

std::tm At(int year, int month, int day, int hour, int minute) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  return t;
}

Bytes StampOf(const MemoryImage& image) {
  Bytes out;
  for (int a = 0x032F; a <= 0x0335; ++a) out.push_back(image.at(a));
  return out;
}

TEST(WriteComDat, DateIsBinaryTimeIsBcd) {
  MemoryImage image;
  image.set(0x032F, 0x5A);
  image.set(0x0335, 0xA5);
  WriteComDat(image, At(2026, 7, 5, 9, 41));
  EXPECT_EQ(StampOf(image), (Bytes{0x5A, 0x1A, 0x07, 0x05, 0x09, 0x41, 0xA5}));
  WriteComDat(image, At(1999, 12, 31, 23, 59));
  EXPECT_EQ(StampOf(image), (Bytes{0x5A, 0x63, 0x0C, 0x1F, 0x23, 0x59, 0xA5}));
  WriteComDat(image, At(2000, 1, 1, 0, 0));
  EXPECT_EQ(StampOf(image), (Bytes{0x5A, 0x00, 0x01, 0x01, 0x00, 0x00, 0xA5}));
}

// ---------------------------------------------------------------------------------------------
// Interpreter over an in-memory link

class ProtocolTest : public ::testing::Test {
 protected:
  ProtocolTest() { link.Open(ScriptedLink::kDevice); }
  bool Reported(const std::string& label) const { return testing::Mentions(report, label); }
  long Count(const std::string& line) const {
    return std::count(list.lines().begin(), list.lines().end(), line);
  }

  ScriptedLink link;
  CountingWait wait;
  DataList list;
  SoftFace texts = SoftFace::Build(kLangSimplifiedChinese);
  ErrorReport report{[] { return std::string("2026-07-05 09:41:00"); }};
  Protocol protocol{link, wait, list, texts, report};
};

TEST_F(ProtocolTest, ConvComCodeSplitsIntoPairs) {
  protocol.ConvComCode("TX02RX020330100BEN");
  EXPECT_EQ(protocol.ComCode(),
            (std::vector<std::string>{"TX", "02", "RX", "02", "03", "30", "10", "0B", "EN"}));
  protocol.ConvComCode("TX0");
  EXPECT_EQ(protocol.ComCode(), (std::vector<std::string>{"TX", "0"}));
  protocol.ConvComCode("");
  EXPECT_TRUE(protocol.ComCode().empty());
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(ProtocolTest, MoreThan200TokensAreReportedAndCut) {
  protocol.ConvComCode("TX" + std::string(400, '0'));
  EXPECT_EQ(protocol.ComCode().size(), 200u);
  EXPECT_EQ(protocol.ComCode().back(), "00");
  EXPECT_TRUE(Reported("modCommun->ConvComCode"));
}

TEST_F(ProtocolTest, AnIdentificationReplyPassesAndIsLogged) {
  link.replies = {{0x02, 0x03, 0x30, 0x10, 0x0B}};
  protocol.ConvComCode("TX02RX020330100BEN");
  protocol.ProtocolCom();
  EXPECT_FALSE(protocol.ComFail);
  EXPECT_EQ(link.written, (std::vector<Bytes>{{0x02}}));
  EXPECT_EQ(list.lines(), (std::vector<std::string>{"Tx: 02 ", "Rx: 02 03 30 10 ", "    0B "}));
  EXPECT_EQ(wait.delays.front(), 5);
}

TEST_F(ProtocolTest, AReadBlockStoresItsDataIntoTheValueBuffer) {
  Bytes reply = {0x57, 0x73, 0xF0, 0x04, 0xDE, 0xAD, 0xBE, 0xEF, 0x99};  // one extra byte
  link.replies = {reply};
  protocol.ConvComCode("TX5273F004RX5773F004VAVAVAVAEN");
  protocol.ProtocolCom();
  EXPECT_FALSE(protocol.ComFail);
  EXPECT_EQ(link.written, (std::vector<Bytes>{{0x52, 0x73, 0xF0, 0x04}}));
  EXPECT_EQ(Bytes(protocol.VaDat.begin(), protocol.VaDat.begin() + 5),
            (Bytes{0xDE, 0xAD, 0xBE, 0xEF, 0x00}));
}

TEST_F(ProtocolTest, AWriteBlockSendsTheValueBuffer) {
  protocol.VaDat[0] = 0x1A;
  protocol.VaDat[1] = 0x07;
  protocol.VaDat[2] = 0xFF;
  link.replies = {{0x06}};
  protocol.ConvComCode("TX57033003VAVAVARX06EN");
  protocol.ProtocolCom();
  EXPECT_FALSE(protocol.ComFail);
  EXPECT_EQ(link.written, (std::vector<Bytes>{{0x57, 0x03, 0x30, 0x03, 0x1A, 0x07, 0xFF}}));
}

TEST_F(ProtocolTest, AWrongEchoFailsTheCommandAndSkipsTheRest) {
  link.replies = {{0x57, 0x00, 0x11, 0x01, 0x42}, {0x06}};
  protocol.ConvComCode("TX52001001RX57001001VATX01RX06EN");
  protocol.ProtocolCom();
  EXPECT_TRUE(protocol.ComFail);
  EXPECT_EQ(link.written.size(), 1u);
  EXPECT_EQ(list.lines().back(), texts[175]);
  EXPECT_FALSE(texts[175].empty());
}

TEST_F(ProtocolTest, SilenceTimesOutAfter151ChecksOfOneMillisecond) {
  protocol.RxPollDelay = 1;
  protocol.RxPollMax = 150;
  protocol.ConvComCode("TX3A91C40E7B25D8RX06EN");
  protocol.ProtocolCom();
  EXPECT_TRUE(protocol.ComFail);
  EXPECT_EQ(std::count(wait.delays.begin(), wait.delays.end(), 1), 151);
  EXPECT_EQ(Count(texts[175]), 1);
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(ProtocolTest, AShortReplyTimesOut) {
  link.replies = {{0x57, 0x00, 0x10}};
  protocol.RxPollMax = 3;
  protocol.ConvComCode("TX52001001RX57001001VAEN");
  protocol.ProtocolCom();
  EXPECT_TRUE(protocol.ComFail);
  EXPECT_EQ(Count(texts[175]), 1);
}

TEST_F(ProtocolTest, SeveralCommandsRunInTurnAndReservedCommandsAreSkipped) {
  link.replies = {{0x06}, {0x06}};
  protocol.ConvComCode("TX01RX06RF0A0B0CTX02RX06WF010203EN");
  protocol.ProtocolCom();
  EXPECT_FALSE(protocol.ComFail);
  EXPECT_EQ(link.written, (std::vector<Bytes>{{0x01}, {0x02}}));
  EXPECT_TRUE(report.lines().empty());
}

TEST_F(ProtocolTest, ACommandWithoutRxExpectsNothing) {
  protocol.ComFail = true;
  protocol.ConvComCode("TX6C0F93B1D47E28EN");
  protocol.ProtocolCom();
  EXPECT_FALSE(protocol.ComFail);
  EXPECT_EQ(link.written, (std::vector<Bytes>{{0x6C, 0x0F, 0x93, 0xB1, 0xD4, 0x7E, 0x28}}));
}

TEST_F(ProtocolTest, MalformedScriptsAreReportedAndFailWithoutTraffic) {
  const std::vector<std::string> scripts = {
      "TXZZEN",                                 // not a byte
      "TX" + Values(101) + "EN",                // more values than the buffer holds
      "TX" + std::string(2 * 102, '1') + "EN",  // more than 101 bytes to send
      "RF0102",                                 // an operand missing (ends the script)
  };
  for (const std::string& script : scripts) {
    protocol.ComFail = false;
    protocol.ConvComCode(script);
    protocol.ProtocolCom();
    EXPECT_TRUE(protocol.ComFail) << script;
    EXPECT_TRUE(link.written.empty()) << script;
  }
  EXPECT_TRUE(Reported("modCommun->ProtocolCom"));
}

TEST_F(ProtocolTest, AnExpectedTokenThatIsNotAByteIsReportedByRxComDat) {
  link.replies = {{0x06}};
  protocol.ConvComCode("TX01RXQQEN");
  protocol.ProtocolCom();
  EXPECT_TRUE(protocol.ComFail);
  EXPECT_TRUE(Reported("modCommun->RxComDat"));
}

}  // namespace
}  // namespace tq
