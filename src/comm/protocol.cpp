#include "comm/protocol.h"

#include <optional>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/message_numbers.h"
#include "base/numbers.h"
#include "base/text_table.h"
#include "comm/data_list.h"
#include "comm/serial_link.h"
#include "comm/wait.h"

namespace tq {

namespace {

constexpr int kBlockBytes = 16;

constexpr const char* kEnterProgramming = "TX3A91C40E7B25D8RX06EN";
constexpr const char* kEndOfRead = "TX6C0F93B1D47E28EN";
constexpr const char* kIdentification = "TX02RX020330100BEN";
constexpr int16_t kFirstPercent = 3;
constexpr int16_t kLastPercent = 100;

std::string Hex2(uint8_t value) {
  return HexText(value, 2);
}

// The value of a byte token: one or two hexadecimal digits of either case; nullopt otherwise.
std::optional<uint8_t> ByteOf(std::string_view token) {
  if (token.empty() || token.size() > 2 || Trim(token).size() != token.size()) return std::nullopt;
  const std::optional<uint32_t> value = ParseHex(token);
  if (!value) return std::nullopt;
  return static_cast<uint8_t>(*value);
}

uint8_t ByteOrFail(std::string_view token, const char* source) {
  const std::optional<uint8_t> value = ByteOf(token);
  if (!value) {
    throw Failure(err::kTypeMismatch, source,
                  "token \"" + std::string(token) + "\" is not a hexadecimal byte");
  }
  return *value;
}

// Adds an entry to a list that may hold at most kMaxScripts entries.
void Append(std::vector<ScriptEntry>& list, ScriptEntry entry) {
  if (list.size() >= static_cast<std::size_t>(kMaxScripts)) {
    throw Failure(err::kIndexOutOfRange, "InitProtocol",
                  "more than " + std::to_string(kMaxScripts) + " script entries");
  }
  list.push_back(std::move(entry));
}

}  // namespace

std::array<uint8_t, 2> AddressField(int address) {
  // The top hexadecimal digit carries 0x400, not 0x1000: address bits 10-12 land in the high
  // nibble of the first byte. Negative addresses give the truncated digits, cut to a byte.
  const int d3 = address / 0x400;
  const int d2 = (address % 0x400) / 0x100;
  const int d1 = (address % 0x100) / 0x10;
  const int d0 = address % 0x10;
  return {static_cast<uint8_t>(d3 * 16 + d2), static_cast<uint8_t>(d1 * 16 + d0)};
}

ScriptLists InitProtocol(int16_t readStart, int16_t readEnd, int16_t writeStart, int16_t writeEnd) {
  ScriptLists lists;

  const auto build = [](std::vector<ScriptEntry>& list, int start, int end, bool reading) {
    Append(list, {kEnterProgramming, 0, 0, kFirstPercent});

    // B only scales the percentages.
    int blocks = static_cast<int>(RoundHalfEven((end - start) / static_cast<double>(kBlockBytes)));
    if (blocks == 0) blocks = 1;

    int n = 2;
    for (int a = start; a <= end; ++n) {
      const int length = end - a < kBlockBytes ? end - a + 1 : kBlockBytes;
      const std::array<uint8_t, 2> field = AddressField(a);
      const std::string address = Hex2(field[0]) + Hex2(field[1]);
      const std::string len = Hex2(static_cast<uint8_t>(length));
      std::string values;
      for (int j = 0; j < length; ++j) values += "VA";

      ScriptEntry entry;
      if (reading) {
        entry.script = "TX52" + address + len + "RX57" + address + len + values + "EN";
      } else {
        entry.script = "TX57" + address + len + values + "RX06EN";
      }
      entry.ScriptAddr = static_cast<int16_t>(a);
      entry.ScriptLen = static_cast<int16_t>(length);
      const double percent = RoundHalfEven((n - 1) * 94.0 / blocks + 3);
      if (reading) {
        entry.ScriptPercent = static_cast<int16_t>(percent > 97 ? 97 : percent);
      } else {
        entry.ScriptPercent = static_cast<int16_t>(percent > 95 ? 100 : percent);
      }
      Append(list, std::move(entry));
      a += length;
    }

    Append(list, {reading ? kEndOfRead : kIdentification, 0, 0, kLastPercent});
  };

  build(lists.read, readStart, readEnd, true);
  build(lists.write, writeStart, writeEnd, false);
  lists.ScriptCount = static_cast<int16_t>(lists.read.size());
  lists.WriteScriptCount = static_cast<int16_t>(lists.write.size());
  return lists;
}

Protocol::Protocol(SerialLink& link, Wait& wait, DataList& list, const SoftFace& texts,
                   ErrorReport& report)
    : link_(link), wait_(wait), list_(list), texts_(texts), report_(report) {}

void Protocol::ConvComCode(std::string_view script) {
  comCode_.clear();
  try {
    for (std::size_t i = 0; i < script.size(); i += 2) {
      if (comCode_.size() >= static_cast<std::size_t>(kMaxTokens)) {
        throw Failure(err::kIndexOutOfRange, "ConvComCode",
                      "script longer than " + std::to_string(kMaxTokens) + " tokens");
      }
      comCode_.emplace_back(script.substr(i, 2));
    }
  } catch (const Failure& failure) {
    report_.ShowErrLine("modCommun->ConvComCode", failure);
  }
}

void Protocol::ProtocolCom() {
  // A script that runs past its last token ends as if it closed with "EN".
  static const std::string kEnd = "EN";
  std::size_t index = 0;
  const auto token = [&](std::size_t at) -> const std::string& {
    return at < comCode_.size() ? comCode_[at] : kEnd;
  };

  try {
    valueIndex_ = 1;
    for (;;) {
      // At least 5 ms pass on the line between one exchange and the next pass.
      if (exchangeEndUs_ < 0) {
        wait_.DelayNms(5);
      } else {
        wait_.DelayUntilUs(exchangeEndUs_ + 5000);
      }
      exchangeEndUs_ = wait_.NowUs();
      std::vector<uint8_t> txDat;
      rxExpect_.clear();

      const std::string& command = token(index);
      if (command == "TX") {
        bool expecting = false;
        for (;;) {
          const std::string& next = token(++index);
          if (!expecting) {
            if (next == "EN") break;
            if (next == "RX") {
              expecting = true;
              continue;
            }
            uint8_t byte = 0;
            if (next == "VA") {
              if (valueIndex_ > kMaxValues) {
                throw Failure(err::kIndexOutOfRange, "ProtocolCom", "more than 100 values");
              }
              byte = VaDat[static_cast<std::size_t>(valueIndex_ - 1)];
              ++valueIndex_;
            } else {
              byte = ByteOrFail(next, "ProtocolCom");
            }
            if (txDat.size() >= static_cast<std::size_t>(kMaxFrameBytes)) {
              throw Failure(err::kIndexOutOfRange, "ProtocolCom", "more than 101 bytes to send");
            }
            txDat.push_back(byte);
          } else {
            // The token that ends the expected part is left for the next pass.
            if (next == "TX" || next == "EN" || next == "RF" || next == "WF") break;
            if (rxExpect_.size() >= static_cast<std::size_t>(kMaxFrameBytes)) {
              throw Failure(err::kIndexOutOfRange, "ProtocolCom", "more than 101 expected tokens");
            }
            rxExpect_.push_back(next);
          }
        }

        ComFail = false;
        link_.DiscardTx();
        link_.DiscardRx();
        if (!txDat.empty()) {
          list_.ComDataShow(kComSent, txDat);
          link_.Write(txDat);
          exchangeEndUs_ = wait_.NowUs();
        }
        if (!rxExpect_.empty()) RxComDat(static_cast<int16_t>(rxExpect_.size()));
        if (ComFail) return;
      } else if (command == "RF" || command == "WF") {
        // Reserved frequency commands: their three operands are consumed, nothing is done.
        for (int operand = 0; operand < 3; ++operand) ByteOrFail(token(++index), "ProtocolCom");
        ++index;
      } else {
        return;
      }
    }
  } catch (const Failure& failure) {
    report_.ShowErrLine("modCommun->ProtocolCom", failure);
    ComFail = true;
  }
}

void Protocol::RxComDat(int16_t count) {
  try {
    valueIndex_ = 1;
    if (count > static_cast<int>(rxExpect_.size())) {
      throw Failure(err::kIndexOutOfRange, "RxComDat", "more bytes asked than expected");
    }

    bool arrived = false;
    for (int attempt = 0; attempt <= RxPollMax; ++attempt) {
      if (link_.BytesWaiting() >= count) {
        arrived = true;
        break;
      }
      // The check after each pass of the wait takes the reply as soon as it is complete.
      wait_.DelayNmsUntil(RxPollDelay, [&] { return link_.BytesWaiting() >= count; });
    }
    exchangeEndUs_ = wait_.NowUs();
    if (!arrived) {
      list_.AddLine(texts_[msg::kNoReply]);
      ComFail = true;
      return;
    }

    const std::vector<uint8_t> rxDat = link_.ReadAll();
    list_.ComDataShow(kComReceived, rxDat);
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i) {
      const std::string& expected = rxExpect_[i];
      // The port said the bytes were there; fewer in hand count as a wrong reply.
      bool matches = i < rxDat.size();
      if (matches && expected == "VA") {
        if (valueIndex_ > kMaxValues) {
          throw Failure(err::kIndexOutOfRange, "RxComDat", "more than 100 values");
        }
        VaDat[static_cast<std::size_t>(valueIndex_ - 1)] = rxDat[i];
        ++valueIndex_;
      } else if (matches) {
        matches = ByteOrFail(expected, "RxComDat") == rxDat[i];
      }
      if (!matches) {
        list_.AddLine(texts_[msg::kNoReply]);
        ComFail = true;
        return;
      }
    }
  } catch (const Failure& failure) {
    report_.ShowErrLine("modCommun->RxComDat", failure);
    ComFail = true;
  }
}

}  // namespace tq
