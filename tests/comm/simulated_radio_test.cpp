#include "comm/simulated_radio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace tq {
namespace {

using Bytes = std::vector<uint8_t>;
using Replies = std::vector<Bytes>;

const Bytes kProgrammingCode = {0x3A, 0x91, 0xC4, 0x0E, 0x7B, 0x25, 0xD8};
const Bytes kEndCode = {0x6C, 0x0F, 0x93, 0xB1, 0xD4, 0x7E, 0x28};
const Bytes kAck = {0x06};
const Bytes kIdentityReply = {0x02, 0x03, 0x30, 0x10, 0x0B};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Faults with one of them switched on by `set`.
template <typename Set>
RadioFaults Faults(Set set) {
  RadioFaults faults;
  set(faults);
  return faults;
}

// ---- One frame, one answer -------------------------------------------------------------------

TEST(SimulatedRadioFrame, EachFrameIsAnsweredByteExact) {
  struct Case {
    const char* name;
    bool olderModel;
    Bytes frame;
    Replies replies;
  };
  const Case cases[] = {{"programming mode", false, kProgrammingCode, {kAck}},
                        {"end of read, no reply", false, kEndCode, {}},
                        {"identification", false, {0x02}, {kIdentityReply}},
                        {"identification, older model", true, {0x02}, {{0x02, 0x00}}},
                        {"end of write, no reply", false, {0x45}, {}},
                        {"read of an erased block",
                         false,
                         {0x52, 0x00, 0x10, 0x10},
                         {Join({{0x57, 0x00, 0x10, 0x10}, Bytes(16, 0xFF)})}},
                        {"write", false, {0x57, 0x00, 0x10, 0x02, 0xAA, 0xBB}, {kAck}}};
  for (const Case& c : cases) {
    SimulatedRadio radio(c.olderModel);
    EXPECT_EQ(radio.Receive(c.frame), c.replies) << c.name;
    EXPECT_EQ(radio.Frames(), std::vector<Bytes>{c.frame}) << c.name;
    EXPECT_FALSE(radio.HungUp()) << c.name;
  }
}

TEST(SimulatedRadioMemory, ReadReturnsWhatWasWritten) {
  SimulatedRadio radio;
  const Bytes data = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08,
                      0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10};
  EXPECT_EQ(radio.Receive(Join({{0x57, 0x00, 0x10, 0x10}, data})), Replies{kAck});
  EXPECT_EQ(radio.memory()[0x000F], 0xFF);
  EXPECT_EQ(radio.memory()[0x0010], 0x01);
  EXPECT_EQ(radio.memory()[0x001F], 0x10);
  EXPECT_EQ(radio.memory()[0x0020], 0xFF);
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x10}),
            Replies{Join({{0x57, 0x00, 0x10, 0x10}, data})});
  EXPECT_EQ(radio.FrameCount(), 2);
}

TEST(SimulatedRadioMemory, OnlyTheModelAndBandFrameIsKeptAndItIsStoredToo) {
  SimulatedRadio radio(true);
  radio.Receive({0x57, 0x03, 0x70, 0x05, 0x02, 0x13, 0x60, 0x17, 0x40});  // 0x0370, not 0x0379
  EXPECT_TRUE(radio.modelAndBand().empty());
  EXPECT_EQ(radio.memory()[0x0370], 0x02);
  EXPECT_EQ(radio.Receive({0x57, 0x03, 0x79, 0x05, 0x02, 0x13, 0x60, 0x17, 0x40}), Replies{kAck});
  EXPECT_EQ(radio.modelAndBand(), (Bytes{0x02, 0x13, 0x60, 0x17, 0x40}));
  EXPECT_EQ(radio.memory()[0x0378], 0xFF);
  EXPECT_EQ(radio.memory()[0x0379], 0x02);
  EXPECT_EQ(radio.memory()[0x037D], 0x40);
  EXPECT_EQ(radio.memory()[0x037E], 0xFF);
}

// ---- Address field -------------------------------------------------------------------------

// The top digit of the address field weighs one kilobyte; a one-byte write lands at the address
// and the rest stays erased.
TEST(SimulatedRadioMemory, TheAddressFieldsTopDigitWeighsOneKilobyte) {
  const std::tuple<uint8_t, uint8_t, int> cases[] = {
      {0x00, 0x10, 0x0010}, {0x10, 0x00, 0x0400}, {0x73, 0xFF, 0x1FFF}, {0x80, 0x00, 0x0000}};
  for (const auto& [high, low, address] : cases) {
    EXPECT_EQ(SimulatedRadio::AddressOf(high, low), address) << address;
    SimulatedRadio radio;
    radio.Receive({0x57, high, low, 0x01, 0x5A});
    EXPECT_EQ(radio.memory()[static_cast<std::size_t>(address)], 0x5A) << address;
    EXPECT_EQ(std::count(radio.memory().begin(), radio.memory().end(), 0xFF), 0x1FFF) << address;
  }
}

TEST(SimulatedRadioMemory, BlocksWrapAtTheEndOfMemory) {
  SimulatedRadio radio;
  radio.memory()[0x1FFF] = 0x12;
  radio.memory()[0x0000] = 0x34;
  EXPECT_EQ(radio.Receive({0x52, 0x73, 0xFF, 0x02}),
            (Replies{{0x57, 0x73, 0xFF, 0x02, 0x12, 0x34}}));
  radio.Receive({0x57, 0x73, 0xFF, 0x02, 0xAB, 0xCD});
  EXPECT_EQ(radio.memory()[0x1FFF], 0xAB);
  EXPECT_EQ(radio.memory()[0x0000], 0xCD);
}

// ---- Byte stream ---------------------------------------------------------------------------

TEST(SimulatedRadioStream, FrameSplitOverSeveralCallsIsAnsweredWhenComplete) {
  SimulatedRadio radio;
  EXPECT_TRUE(radio.Receive({0x3A, 0x91}).empty());
  EXPECT_TRUE(radio.Receive({0xC4, 0x0E, 0x7B}).empty());
  EXPECT_EQ(radio.FrameCount(), 0);
  EXPECT_EQ(radio.Receive({0x25, 0xD8}), Replies{kAck});

  // A write frame waits for the last data byte.
  EXPECT_TRUE(radio.Receive({0x57, 0x00}).empty());
  EXPECT_TRUE(radio.Receive({0x20, 0x03, 0x01, 0x02}).empty());
  EXPECT_EQ(radio.memory()[0x0020], 0xFF) << "nothing is stored before the frame is complete";
  EXPECT_EQ(radio.Receive({0x03}), Replies{kAck});
  EXPECT_EQ(radio.memory()[0x0022], 0x03);
  EXPECT_EQ(radio.FrameCount(), 2);
}

TEST(SimulatedRadioStream, TwoFramesInOneCallAreAnsweredInOrder) {
  SimulatedRadio radio;
  EXPECT_EQ(radio.Receive(Join({kProgrammingCode, {0x52, 0x00, 0x00, 0x01}})),
            (Replies{kAck, {0x57, 0x00, 0x00, 0x01, 0xFF}}));
  EXPECT_EQ(radio.Frames(), (std::vector<Bytes>{kProgrammingCode, {0x52, 0x00, 0x00, 0x01}}));
}

TEST(SimulatedRadioStream, GarbageAndZeroLengthBlocksBeforeAFrameAreDropped) {
  SimulatedRadio radio;
  // Stray bytes, then the start of a code that breaks off, then the real code.
  const Bytes input =
      Join({{0x00, 0x99, 0xFF, 0x3A, 0x91, 0x00, 0x6C, 0x0F, 0x01}, kProgrammingCode});
  EXPECT_EQ(radio.Receive(input), Replies{kAck});
  // 52 00 10 00 is no frame: its bytes are skipped one by one, then 02 is answered.
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x00, 0x02}), Replies{kIdentityReply});
  EXPECT_EQ(radio.Frames(), (std::vector<Bytes>{kProgrammingCode, {0x02}}));
}

// ---- Faults --------------------------------------------------------------------------------

TEST(SimulatedRadioFaults, SilentRadioStoresAndCountsButNeverAnswers) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.silent = true; }));
  EXPECT_TRUE(radio.Receive(kProgrammingCode).empty());
  EXPECT_TRUE(radio.Receive({0x57, 0x00, 0x10, 0x01, 0x42}).empty());
  EXPECT_TRUE(radio.Receive({0x52, 0x00, 0x10, 0x01, 0x02}).empty());
  EXPECT_EQ(radio.FrameCount(), 4);
  EXPECT_EQ(radio.memory()[0x0010], 0x42);
}

TEST(SimulatedRadioFaults, DropReplyCountsOnlyFramesThatHaveAReply) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.dropReply = 2; }));
  EXPECT_EQ(radio.Receive(kProgrammingCode), Replies{kAck});     // reply 1
  EXPECT_TRUE(radio.Receive({0x45}).empty());                    // no reply to count
  EXPECT_TRUE(radio.Receive(kEndCode).empty());                  // no reply to count
  EXPECT_TRUE(radio.Receive({0x52, 0x00, 0x10, 0x01}).empty());  // reply 2: dropped
  EXPECT_EQ(radio.Receive({0x02}), Replies{kIdentityReply});     // reply 3
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x01}),             // a retry is answered
            (Replies{{0x57, 0x00, 0x10, 0x01, 0xFF}}));
}

TEST(SimulatedRadioFaults, CorruptEchoSpoilsOnlyTheFirstReadOfItsBlockNeverAWrite) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.corruptEchoAt = 0x0400; }));
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x01}), (Replies{{0x57, 0x00, 0x10, 0x01, 0xFF}}));
  EXPECT_EQ(radio.Receive({0x52, 0x10, 0x00, 0x02}),
            (Replies{{0x57, 0x10, 0x01, 0x02, 0xFF, 0xFF}}));
  EXPECT_EQ(radio.Receive({0x52, 0x10, 0x00, 0x02}),
            (Replies{{0x57, 0x10, 0x00, 0x02, 0xFF, 0xFF}}));

  SimulatedRadio writer(false, Faults([](RadioFaults& f) { f.corruptEchoAt = 0x0010; }));
  EXPECT_EQ(writer.Receive({0x57, 0x00, 0x10, 0x01, 0x77}), Replies{kAck});
  EXPECT_EQ(writer.Receive({0x52, 0x00, 0x10, 0x01}), (Replies{{0x57, 0x00, 0x11, 0x01, 0x77}}));
}

TEST(SimulatedRadioFaults, ExtraBytesFollowEveryReply) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.extraBytes = 2; }));
  EXPECT_EQ(radio.Receive(kProgrammingCode), (Replies{{0x06, 0xEE, 0xEE}}));
  EXPECT_EQ(radio.Receive({0x02}), (Replies{{0x02, 0x03, 0x30, 0x10, 0x0B, 0xEE, 0xEE}}));
  EXPECT_TRUE(radio.Receive(kEndCode).empty()) << "a frame without a reply gets no extra bytes";
}

TEST(SimulatedRadioFaults, ShortReplyLosesItsLastByte) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.shortReply = 2; }));
  EXPECT_EQ(radio.Receive(kProgrammingCode), Replies{kAck});
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x02}), (Replies{{0x57, 0x00, 0x10, 0x02, 0xFF}}));
  EXPECT_EQ(radio.Receive({0x52, 0x00, 0x10, 0x02}),
            (Replies{{0x57, 0x00, 0x10, 0x02, 0xFF, 0xFF}}));

  // A one-byte acknowledgement that loses its byte is no reply at all.
  SimulatedRadio acker(false, Faults([](RadioFaults& f) { f.shortReply = 1; }));
  EXPECT_TRUE(acker.Receive(kProgrammingCode).empty());
  EXPECT_EQ(acker.Receive(kProgrammingCode), Replies{kAck});
}

TEST(SimulatedRadioFaults, HangUpAfterTheNthFrameWhichIsStillAnswered) {
  SimulatedRadio radio(false, Faults([](RadioFaults& f) { f.hangUpAfter = 2; }));
  EXPECT_EQ(radio.Receive(kProgrammingCode), Replies{kAck});
  EXPECT_FALSE(radio.HungUp());
  // The second and third frame come in one call: only the second is answered.
  EXPECT_EQ(radio.Receive(Join({{0x02}, kProgrammingCode})), Replies{kIdentityReply});
  EXPECT_TRUE(radio.HungUp());
  EXPECT_TRUE(radio.Receive(kProgrammingCode).empty());
  EXPECT_EQ(radio.FrameCount(), 2);

  // A frame without a reply counts too.
  SimulatedRadio quiet(false, Faults([](RadioFaults& f) { f.hangUpAfter = 1; }));
  EXPECT_TRUE(quiet.Receive(Join({kEndCode, kProgrammingCode})).empty());
  EXPECT_TRUE(quiet.HungUp());
}

}  // namespace
}  // namespace tq
