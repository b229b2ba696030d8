// Protocol scripts: the exchanges with the radio written as strings of two-character tokens,
// "TX" + bytes to send, "RX" + bytes expected back ("VA" for a block byte), "EN" to end; the
// lists of scripts for a read and a write; and the interpreter that runs one script on the link.
//
//   exchange            PC sends                    radio answers
//   programming mode    3A 91 C4 0E 7B 25 D8        06
//   read block          52 hi lo L                  57 hi lo L + L data bytes
//   write block         57 hi lo L + L data bytes   06
//   end of read         6C 0F 93 B1 D4 7E 28        nothing
//   identification      02                          02 03 30 10 0B
//
// The address field hi lo carries the hexadecimal digits of the address with the top digit
// weighted 0x400: hi = (a div 0x400) x 16 + (a mod 0x400) div 0x100, lo = a mod 0x100.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

class SerialLink;
class Wait;
class DataList;
class SoftFace;
class ErrorReport;

inline constexpr int kMaxTokens = 200;
inline constexpr int kMaxFrameBytes = 101;  // send part bytes, expected part tokens
inline constexpr int kMaxValues = 100;      // VaDat
inline constexpr int kMaxScripts = 520;     // entries of one list

struct ScriptEntry {
  std::string script;
  int16_t ScriptAddr = 0;  // first image address of the block (0 for the first and last entry)
  int16_t ScriptLen = 0;   // bytes in the block, 1 to 16 (0 for the first and last entry)
  int16_t ScriptPercent = 0;
  bool operator==(const ScriptEntry&) const = default;
};

struct ScriptLists {
  std::vector<ScriptEntry> read;   // programming mode, blocks, end code
  std::vector<ScriptEntry> write;  // programming mode, blocks, identification
  int16_t ScriptCount = 0;         // entries of the read list
  int16_t WriteScriptCount = 0;    // entries of the write list
};

// The two bytes of the address field of `address`.
std::array<uint8_t, 2> AddressField(int address);

// Builds both lists from the read and write ranges (InitProtocol). A list longer than 520
// entries throws Failure 9.
ScriptLists InitProtocol(int16_t readStart, int16_t readEnd, int16_t writeStart, int16_t writeEnd);

// The interpreter: ConvComCode splits a script into tokens, ProtocolCom runs them over the link,
// RxComDat waits for and judges a reply. Failures of the interpreter itself are reported under
// "modCommun->ConvComCode", "modCommun->ProtocolCom" and "modCommun->RxComDat"; a failed
// command leaves ComFail true.
class Protocol {
 public:
  Protocol(SerialLink& link, Wait& wait, DataList& list, const SoftFace& texts,
           ErrorReport& report);

  void ConvComCode(std::string_view script);
  void ProtocolCom();
  void RxComDat(int16_t count);

  // The tokens of the current script (at most 200).
  const std::vector<std::string>& ComCode() const noexcept { return comCode_; }

  bool ComFail = false;
  int16_t RxPollDelay = 1;
  int16_t RxPollMax = 150;
  std::array<uint8_t, kMaxValues> VaDat{};

 private:
  SerialLink& link_;
  Wait& wait_;
  DataList& list_;
  const SoftFace& texts_;
  ErrorReport& report_;
  std::vector<std::string> comCode_;
  std::vector<std::string> rxExpect_;
  int valueIndex_ = 1;
  // When the last exchange on the line ended (the reply complete, or the bytes sent when none
  // was expected); -1 before the first. The pause before a pass runs from there, so the work in
  // between takes nothing from the line.
  int64_t exchangeEndUs_ = -1;
};

}  // namespace tq
