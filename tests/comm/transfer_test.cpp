// The read and write transfers over the real serial link, on a pseudo-terminal served by the
// simulated radio, with faults switched on in the radio.
#include "comm/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/pty_radio.h"
#include "comm/simulated_radio.h"
#include "comm/wait.h"
#include "qtlink/qt_serial_link.h"
#include "session/session.h"
#include "support/outcomes.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using Runs = std::vector<std::pair<bool, bool>>;
using Bytes = std::vector<uint8_t>;
using testing::TempFolder;

const Bytes kProgrammingCode = {0x3A, 0x91, 0xC4, 0x0E, 0x7B, 0x25, 0xD8};
const Bytes kEndCode = {0x6C, 0x0F, 0x93, 0xB1, 0xD4, 0x7E, 0x28};
const std::string kConclusionStart = "读取:判断TQ的机型 --> 结论:";

// Radio faults with one field set.
template <typename Set>
RadioFaults Faults(Set set) {
  RadioFaults faults;
  set(faults);
  return faults;
}

AddressRanges Range(int16_t start, int16_t end) {
  return {start, end, start, end};
}

// A radio whose memory holds a pattern unlike the shipped default image, with a known model.
SimulatedRadio PatternRadio(bool olderModel = false, RadioFaults faults = {}) {
  SimulatedRadio radio(olderModel, faults);
  for (std::size_t k = 0; k < radio.memory().size(); ++k) {
    radio.memory()[k] = static_cast<uint8_t>(k * 37 + (k >> 8) + 5);
  }
  radio.memory()[0x0379] = 0;
  return radio;
}

Bytes Memory(PtyRadio& radio) {
  return radio.WithRadio(
      [](SimulatedRadio& r) { return Bytes(r.memory().begin(), r.memory().end()); });
}

std::vector<Bytes> Frames(PtyRadio& radio) {
  return radio.WithRadio([](SimulatedRadio& r) { return r.Frames(); });
}

// The frames with each run of repeats counted once: a full transfer on a busy machine may see a
// reply outlast the 150 ms window and retry a block, which the protocol allows; the order and
// the bytes of the frames are what the full-transfer tests check.
std::vector<Bytes> FramesWithoutRepeats(PtyRadio& radio) {
  std::vector<Bytes> frames = Frames(radio);
  frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
  return frames;
}

bool StartsWith(const Bytes& frame, const Bytes& head) {
  return frame.size() >= head.size() && std::equal(head.begin(), head.end(), frame.begin());
}

long CountFrames(const std::vector<Bytes>& frames, const Bytes& head) {
  return std::count_if(frames.begin(), frames.end(),
                       [&](const Bytes& frame) { return StartsWith(frame, head); });
}

// The transfer's view of a started session's data, counting what the transfer tells.
class TransferTest : public ::testing::Test, public TransferTarget, public TransferObserver {
 protected:
  void SetUp() override {
    home.CopyShippedProgramFiles();
    doc.emplace(home.path(), report);
    ASSERT_TRUE(doc->StartUp());
    band = doc->Band();
    options = doc->Options();
  }

  bool Run(const std::string& device, bool reading, AddressRanges ranges) {
    PortControl port(link, doc->Settings(), report);
    TransferContext ctx{*this, link, wait, list, port, ranges, 1, device, showMemDat, *this};
    return reading ? ReadTransfer(ctx) : WriteTransfer(ctx);
  }

  MemoryImage& TransferImage() override { return doc->EditableImage(); }
  void FoldEdits() override { ++folds; }
  void ImageRead() override { ++softDisplays; }
  const SoftFace& TransferTexts() const override { return doc->Texts(); }
  const BandLimits& TransferBand() const override { return band; }
  const OptionValues& TransferOptions() const override { return options; }
  ErrorReport& TransferReport() override { return report; }

  void ShowComPercent(int16_t percent) override { percents.push_back(percent); }
  void MessageBox(int number) override { boxes.push_back(number); }
  void WriteStopped(const WriteStop& stop) override { stops.push_back(stop); }
  void Running(bool on, bool read) override { running.emplace_back(on, read); }
  void RefreshMemoryGrid() override { ++gridRefreshes; }
  std::tm LocalTime() override {
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 7 - 1;
    t.tm_mday = 5;
    t.tm_hour = 9;
    t.tm_min = 41;
    return t;
  }
  bool Run(PtyRadio& radio, bool reading, AddressRanges ranges) {
    return Run(radio.SlavePath(), reading, ranges);
  }

  Bytes Image() const { return Bytes(doc->Image().bytes().begin(), doc->Image().bytes().end()); }

  long Lines(const std::string& line) const {
    return std::count(list.lines().begin(), list.lines().end(), line);
  }
  bool HasLineStarting(const std::string& start) const {
    return std::any_of(list.lines().begin(), list.lines().end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
  }
  bool Reported(const std::string& label) const { return testing::Mentions(report, label); }
  const std::string& NoReply() const { return doc->Texts()[175]; }

  // The image with `count` bytes from `from` replaced by the radio's.
  Bytes Merged(const Bytes& image, const Bytes& radio, std::size_t from, std::size_t count) const {
    Bytes out = image;
    std::copy_n(radio.begin() + static_cast<std::ptrdiff_t>(from), count,
                out.begin() + static_cast<std::ptrdiff_t>(from));
    return out;
  }

  TempFolder home;
  ErrorReport report{[] { return std::string("2026-07-05 09:41:00"); }};
  std::optional<Session> doc;
  BandLimits band;
  OptionValues options;
  int folds = 0;
  QtSerialLink link;
  SteadyClock clock;
  LinkWait wait{clock, &link};
  DataList list;
  bool showMemDat = false;

  std::vector<int16_t> percents;
  std::vector<int> boxes;
  std::vector<WriteStop> stops;
  std::vector<std::pair<bool, bool>> running;
  int softDisplays = 0;
  int gridRefreshes = 0;
};

// ---------------------------------------------------------------------------------------------
// Read

TEST_F(TransferTest, AFullReadCopiesEveryByteOfTheRadio) {
  PtyRadio radio(PatternRadio());
  showMemDat = true;
  ASSERT_TRUE(Run(radio, true, Range(0x0000, 0x1FFF)));

  EXPECT_EQ(Image(), Memory(radio));
  ASSERT_EQ(percents.size(), 514u);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(softDisplays, 1);
  EXPECT_EQ(gridRefreshes, 1);
  EXPECT_EQ(running, (Runs{{true, true}, {false, true}}));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_FALSE(Reported("modCommun")) << report.lines().back();
  EXPECT_FALSE(Reported("frmCommun")) << report.lines().back();

  const std::vector<Bytes> frames = FramesWithoutRepeats(radio);
  ASSERT_EQ(frames.size(), 514u);
  EXPECT_EQ(frames.front(), kProgrammingCode);
  EXPECT_EQ(frames[513], kEndCode);
}

TEST_F(TransferTest, ARangeReadReplacesOnlyItsBytes) {
  PtyRadio radio(PatternRadio());
  const Bytes before = Image();
  const Bytes expected = Merged(before, Memory(radio), 0x0000, 0x20);
  ASSERT_NE(expected, before);

  ASSERT_TRUE(Run(radio, true, Range(0x0000, 0x001F)));
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(percents, (std::vector<int16_t>{3, 50, 97, 100}));
  EXPECT_EQ(Frames(radio),
            (std::vector<Bytes>{
                kProgrammingCode, {0x52, 0x00, 0x00, 0x10}, {0x52, 0x00, 0x10, 0x10}, kEndCode}));
  EXPECT_EQ(gridRefreshes, 0);  // "Show Memory Data" not ticked
}

TEST_F(TransferTest, ASilentRadioEndsAReadOrAWriteAfterSevenTriesAndLeavesTheImage) {
  const RadioFaults silent = Faults([](RadioFaults& f) { f.silent = true; });
  PtyRadio radio(PatternRadio(false, silent));
  const Bytes before = Image();

  EXPECT_FALSE(Run(radio, true, Range(0x0000, 0x003F)));
  EXPECT_EQ(boxes, (std::vector<int>{79}));
  EXPECT_EQ(Image(), before);
  EXPECT_EQ(softDisplays, 0);
  EXPECT_TRUE(percents.empty());
  EXPECT_EQ(Lines(NoReply()), 7);
  EXPECT_EQ(Frames(radio), std::vector<Bytes>(7, kProgrammingCode));
  EXPECT_EQ(running, (Runs{{true, true}, {false, true}}));
  EXPECT_FALSE(link.IsOpen());

  // A write gives up the same way, before it identifies the radio, and tells that nothing was
  // written.
  PtyRadio deaf(SimulatedRadio(false, silent));
  boxes.clear();
  EXPECT_FALSE(Run(deaf, false, Range(0x0000, 0x001F)));
  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_FALSE(stops[0].entered);
  EXPECT_EQ(WriteStopText(stops[0], kLangEnglish),
            "The radio did not enter programming mode: nothing was written and its memory is "
            "unchanged.");
  EXPECT_EQ(Frames(deaf), std::vector<Bytes>(7, kProgrammingCode));
}

// A reply that comes after the time-out is drained before the retry, so that it is not taken
// for the reply to the next block: one late reply costs one retry, not the read.
TEST_F(TransferTest, ALateReplyCostsOneRetry) {
  // Replies: 1 the programming code, 2 block 0x0000, 3 block 0x0010 (late by 400 ms: after
  // the time-out and the retry, whose own reply then follows it).
  PtyRadio radio(PatternRadio(false, {}), {.latencyMs = 20, .lateReply = 3, .lateReplyMs = 400});
  const Bytes expected = Merged(Image(), Memory(radio), 0x0000, 0x80);

  ASSERT_TRUE(Run(radio, true, Range(0x0000, 0x007F)));
  EXPECT_EQ(Image(), expected);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(Lines(NoReply()), 1) << "only the late block was tried again";
}

TEST_F(TransferTest, AWrongEchoFailsItsBlockAndTheRetryPasses) {
  PtyRadio radio(PatternRadio(false, Faults([](RadioFaults& f) { f.corruptEchoAt = 0x0010; })));
  const Bytes expected = Merged(Image(), Memory(radio), 0x0000, 0x40);

  ASSERT_TRUE(Run(radio, true, Range(0x0000, 0x003F)));
  EXPECT_EQ(Image(), expected);
  EXPECT_EQ(Lines(NoReply()), 1);
  EXPECT_EQ(CountFrames(Frames(radio), {0x52, 0x00, 0x10, 0x10}), 2);
  EXPECT_EQ(percents, (std::vector<int16_t>{3, 26, 50, 74, 97, 100}));
}

TEST_F(TransferTest, AHangUpInMidTransferEndsItWithoutACrash) {
  PtyRadio radio(PatternRadio(false, Faults([](RadioFaults& f) { f.hangUpAfter = 20; })));

  EXPECT_FALSE(Run(radio, true, Range(0x0000, 0x03FF)));
  EXPECT_TRUE(boxes == std::vector<int>{79} || Reported("frmCommun->cmdRead_Click"));
  EXPECT_EQ(softDisplays, 0);
  EXPECT_EQ(running.back(), std::make_pair(false, true));
  EXPECT_FALSE(link.IsOpen());
  EXPECT_LE(percents.size(), 20u);
}

TEST_F(TransferTest, APortThatDoesNotOpenEndsTheTransferWithoutTraffic) {
  EXPECT_FALSE(Run("/dev/tq474-no-such-port", true, Range(0x0000, 0x001F)));
  EXPECT_TRUE(Reported("modCommun->OpenCom"));
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(list.lines().empty());
  EXPECT_EQ(running, (Runs{{true, true}, {false, true}}));

  // A range too long for the script list ends the transfer before the port is touched.
  running.clear();
  EXPECT_FALSE(Run("/dev/tq474-no-such-port", false, Range(0x0000, 0x2100)));
  EXPECT_TRUE(Reported("modCommun->InitProtocol"));
  EXPECT_EQ(running, (Runs{{false, false}}));

  // So does a range that holds no block (its end below its start, as a wrapped address gives):
  // it is reported instead of passing for a read of nothing.
  running.clear();
  EXPECT_FALSE(Run("/dev/tq474-no-such-port", true, Range(0x1000, 0x0000)));
  EXPECT_TRUE(Reported("holds no block"));
  EXPECT_TRUE(list.lines().empty());
  EXPECT_EQ(running, (Runs{{false, true}}));
}

// ---------------------------------------------------------------------------------------------
// Write

// The radio answers a little after each frame, as a real one does.
constexpr PtyRadioOptions kRadioTurnaround{.lineTiming = false, .latencyMs = 2};

TEST_F(TransferTest, AFullWriteLeavesTheRadioEqualToTheImage) {
  PtyRadio radio(SimulatedRadio(), kRadioTurnaround);
  ASSERT_TRUE(Run(radio, false, Range(0x0000, 0x1FFF)));

  EXPECT_EQ(Memory(radio), Image());
  ASSERT_EQ(percents.size(), 513u);
  EXPECT_EQ(percents.front(), 3);
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(running, (Runs{{true, false}, {false, false}}));
  EXPECT_FALSE(Reported("Commun"));

  const std::vector<Bytes> frames = FramesWithoutRepeats(radio);
  ASSERT_EQ(frames.size(), 515u);  // programming code, 512 blocks, 02, 45
  EXPECT_TRUE(StartsWith(frames[512], {0x57, 0x73, 0xF0, 0x10}));  // block 0x1FF0
  EXPECT_EQ(frames[512].size(), 20u);
  EXPECT_EQ(frames[513], (Bytes{0x02}));
  EXPECT_EQ(frames[514], (Bytes{0x45}));
}

TEST_F(TransferTest, AShortWriteStampsTheDateAndEndsAfterTheIdentification) {
  PtyRadio radio(SimulatedRadio(), kRadioTurnaround);
  showMemDat = true;
  ASSERT_TRUE(Run(radio, false, Range(0x0330, 0x0334)));

  const Bytes stamp = {0x57, 0x03, 0x30, 0x05, 0x1A, 0x07, 0x05, 0x09, 0x41};
  const std::vector<Bytes> frames = Frames(radio);
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(frames[0], kProgrammingCode);
  EXPECT_EQ(frames[1], stamp);
  EXPECT_EQ(frames[2], (Bytes{0x02}));
  EXPECT_EQ(frames.back(), (Bytes{0x45}));
  EXPECT_EQ(CountFrames(frames, {0x57, 0x03, 0x79, 0x05}), 0);
  const Bytes memory = Memory(radio);
  const Bytes image = Image();
  EXPECT_EQ(Bytes(memory.begin() + 0x0330, memory.begin() + 0x0335),
            (Bytes{0x1A, 0x07, 0x05, 0x09, 0x41}));
  EXPECT_EQ(Bytes(image.begin() + 0x0330, image.begin() + 0x0335),
            (Bytes{0x1A, 0x07, 0x05, 0x09, 0x41}));
  EXPECT_EQ(gridRefreshes, 1);
  EXPECT_EQ(percents, (std::vector<int16_t>{3, 100}));

  // The data list: the step line, the block, then the identification and its conclusion.
  const auto& lines = list.lines();
  const auto step = std::find(lines.begin(), lines.end(), "写入:频率");
  ASSERT_NE(step, lines.end());
  EXPECT_EQ(*(step + 1), "Tx: 3A 91 C4 0E ");
  const auto check = std::find(lines.begin(), lines.end(), "读取:判断TQ的机型");
  ASSERT_NE(check, lines.end());
  ASSERT_GE(lines.end() - check, 5);
  EXPECT_EQ(*(check + 1), "Tx: 02 ");
  EXPECT_EQ(*(check + 2), "Rx: 02 03 30 10 ");
  EXPECT_EQ(*(check + 3), "    0B ");
  EXPECT_EQ((check + 4)->rfind(kConclusionStart, 0), 0u);
  EXPECT_GT((check + 4)->size(), kConclusionStart.size());
  EXPECT_EQ(lines.back(), "Tx: 45 ");
}

TEST_F(TransferTest, AWriteThatStopsPartWayTellsWhatTheRadioTookAndListsIt) {
  // Replies: 1 the programming code, 2 and 3 the first two blocks; then the radio falls silent.
  PtyRadio radio(SimulatedRadio(false, Faults([](RadioFaults& f) { f.silentAfter = 3; })),
                 kRadioTurnaround);
  EXPECT_FALSE(Run(radio, false, Range(0x0000, 0x003F)));

  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_TRUE(stops[0].entered);
  EXPECT_FALSE(stops[0].dataComplete);
  EXPECT_EQ(stops[0].acknowledged, 0x20);
  const std::string text = WriteStopText(stops[0], kLangEnglish);
  EXPECT_EQ(text,
            "The write stopped after 0000-001F of 0000-003F: the radio holds part of the new "
            "data. Write it again before using it.");
  EXPECT_EQ(WriteStopText(stops[0], kLangSimplifiedChinese),
            "写入在中途停止：对讲机只收到了 0000-003F 中的 0000-001F，现存有部分新数据。"
            "使用前请重新写入。");
  EXPECT_TRUE(Reported(WriteStopText(stops[0], doc->Language())));
  const Bytes memory = Memory(radio);
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0x20, Image().begin()));
  EXPECT_EQ(memory[0x20], 0xFF);
}

TEST_F(TransferTest, AShortIdentificationReplyAfterACompleteWriteSaysTheDataWasWritten) {
  PtyRadio radio(SimulatedRadio(false, Faults([](RadioFaults& f) { f.identifyReply = {0x02}; })),
                 kRadioTurnaround);
  EXPECT_FALSE(Run(radio, false, Range(0x0000, 0x001F)));

  EXPECT_TRUE(boxes.empty());
  ASSERT_EQ(stops.size(), 1u);
  EXPECT_TRUE(stops[0].dataComplete);
  EXPECT_EQ(WriteStopText(stops[0], kLangEnglish),
            "The data 0000-001F was written, but identifying the radio at the end of the write "
            "failed. Write it again before using it.");
  const Bytes memory = Memory(radio);
  EXPECT_TRUE(std::equal(memory.begin(), memory.begin() + 0x20, Image().begin()));
}

TEST_F(TransferTest, AnOlderModelStepWithoutReplyIsTriedAgain) {
  // Replies: 1 the programming code, 2 the block, 3 the identification, 4 model and band (lost).
  PtyRadio radio(SimulatedRadio(true, Faults([](RadioFaults& f) { f.dropReply = 4; })),
                 kRadioTurnaround);
  ASSERT_TRUE(Run(radio, false, Range(0x0000, 0x000F)));
  EXPECT_EQ(Lines("Rx: 未收到数据   第 串数据未收到"), 1);
  EXPECT_EQ(CountFrames(Frames(radio), {0x57, 0x03, 0x79, 0x05}), 2);
  EXPECT_EQ(Frames(radio).back(), kEndCode);
  EXPECT_TRUE(boxes.empty());
}

// The older-model sequence after an identification reply other than 02 03.
struct OlderModelCase {
  uint8_t kind;   // parameter byte 0x03D4
  int16_t opt8;   // emergency alarm, bit 7 of 0x03FC
  int16_t opt15;  // low-battery transmit, bit 2 of 0x03FE
  uint8_t radioFC;
  uint8_t radioFE;
  bool sendsParams;
  uint8_t sentFC;
  uint8_t sentFE;
};

class OlderModelTest : public TransferTest, public ::testing::WithParamInterface<OlderModelCase> {};

TEST_P(OlderModelTest, SendsModelBandAndTheRadioParametersWhenTheKindAllows) {
  const OlderModelCase& c = GetParam();
  SimulatedRadio sim(true);
  for (int a = 0x03D0; a <= 0x03FF; ++a) {
    sim.memory()[static_cast<std::size_t>(a)] = static_cast<uint8_t>(0xC0 + (a - 0x03D0));
  }
  sim.memory()[0x03D4] = c.kind;
  sim.memory()[0x03FC] = c.radioFC;
  sim.memory()[0x03FE] = c.radioFE;
  PtyRadio radio(std::move(sim), kRadioTurnaround);
  band.lower = 13600000;
  band.upper = 17400000;
  options.OptSel[8] = c.opt8;
  options.OptSel[15] = c.opt15;

  ASSERT_TRUE(Run(radio, false, Range(0x0000, 0x000F)));
  EXPECT_TRUE(boxes.empty());

  const std::vector<Bytes> frames = Frames(radio);
  const uint8_t model = Image()[0x0379];
  EXPECT_EQ(CountFrames(frames, {0x57, 0x03, 0x79, 0x05, model, 0x13, 0x60, 0x17, 0x40}), 1);
  EXPECT_EQ(radio.WithRadio([](SimulatedRadio& r) { return r.modelAndBand(); }),
            (Bytes{model, 0x13, 0x60, 0x17, 0x40}));
  EXPECT_EQ(CountFrames(frames, {0x52, 0x03, 0xD0, 0x30}), 1);
  EXPECT_EQ(frames.back(), kEndCode);
  EXPECT_EQ(Lines("写入:机型和频段"), 1);
  EXPECT_EQ(Lines("读取:对讲机的机型和参数"), 1);
  EXPECT_FALSE(HasLineStarting(kConclusionStart));

  const auto params = std::find_if(frames.begin(), frames.end(), [](const Bytes& frame) {
    return StartsWith(frame, {0x57, 0x03, 0xF0, 0x10});
  });
  EXPECT_EQ(Lines("写入:收音机的SQL和音量及对讲机的参数"), c.sendsParams ? 1 : 0);
  if (!c.sendsParams) {
    EXPECT_EQ(params, frames.end());
    return;
  }
  ASSERT_NE(params, frames.end());
  // The radio's own bytes, except the image's 0x03F6-0x03F7 and the two option bytes.
  const uint8_t f6 = Image()[0x03F6], f7 = Image()[0x03F7], fc = c.sentFC, fe = c.sentFE;
  EXPECT_EQ(*params, (Bytes{0x57, 0x03, 0xF0, 0x10, 0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5,
                            f6,   f7,   0xE8, 0xE9, 0xEA, 0xEB, fc,   0xED, fe,   0xEF}));
}

INSTANTIATE_TEST_SUITE_P(Kinds, OlderModelTest,
                         ::testing::Values(OlderModelCase{0x15, 0, 0, 0x12, 0xFF, false, 0, 0},
                                           OlderModelCase{0x64, 0, 0, 0x12, 0xFF, false, 0, 0},
                                           OlderModelCase{0x1F, 0, 0, 0x12, 0xFF, false, 0, 0},
                                           OlderModelCase{0x20, 1, 0, 0x12, 0xFF, true, 0x92, 0xFB},
                                           OlderModelCase{0x63, 0, 1, 0xFF, 0x00, true, 0x7F, 0x04},
                                           OlderModelCase{0x16, 1, 1, 0x80, 0x04, true, 0x80,
                                                          0x04}));

}  // namespace
}  // namespace tq
