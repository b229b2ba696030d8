#include "comm/transfer.h"

#include <algorithm>
#include <array>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "base/error_report.h"
#include "base/failure.h"
#include "base/message_numbers.h"
#include "base/numbers.h"
#include "base/text_table.h"
#include "comm/data_list.h"
#include "comm/port_control.h"
#include "comm/protocol.h"
#include "comm/serial_link.h"
#include "comm/wait.h"
#include "image/band.h"
#include "image/memory_image.h"
#include "image/stamp.h"
#include "options/option_codec.h"

namespace tq {

namespace {

// A transfer gives up at the seventh failed script, whichever blocks failed.
constexpr int16_t kMaxFailedScripts = 7;
constexpr int kRetryPauseMs = 30;
// Before the request after a failed or retried one, the line must have been quiet this long (at
// most kQuietLimitMs in all), so that a reply still on its way is dropped, not taken for the next.
constexpr int64_t kQuietMs = 100;
constexpr int64_t kQuietLimitMs = 1000;
constexpr int16_t kEndPauseMs = 500;

// The exchanges of the write's closing sequence are made without scripts.
constexpr int kExchangeAttempts = 4;
constexpr int kReplyChecks = 101;
constexpr int kParamAddress = 0x03D0;  // first radio address of the parameter block
constexpr int kParamBlockLength = 48;  // 0x03D0-0x03FF
constexpr int kParamReplyLength = 52;  // echo 57 03 D0 30 and the block
constexpr int kRadioParamAddress = 0x03F0;
constexpr int kRadioParamLength = 16;

const std::string kNoReplyLine = std::string("Rx: ") + "未收到数据   第" + " " + "串数据未收到";
const std::string kNoParamReplyLine = std::string("Rx: ") + "未收到数据";
const std::string kModelCheckLine = "读取:判断TQ的机型";
const std::string kModelConclusion =
    "读取:判断TQ的机型 --> 结论:" + std::string("非其他电子厂商开发的机型");

const std::vector<uint8_t> kIdentifyByte = {0x02};
const std::vector<uint8_t> kConfirmByte = {0x45};
const std::vector<uint8_t> kEndCode = {0x6C, 0x0F, 0x93, 0xB1, 0xD4, 0x7E, 0x28};
const std::vector<uint8_t> kReadParams = {0x52, 0x03, 0xD0, 0x30};

// One read or write transfer from the common start to the common end.
class Transfer {
 public:
  Transfer(TransferContext& ctx, bool reading)
      : ctx_(ctx),
        reading_(reading),
        protocol_(ctx.link, ctx.wait, ctx.list, ctx.target.TransferTexts(),
                  ctx.target.TransferReport()) {}

  bool Run(TransferOutcome& outcome) {
    const bool done = Run();
    outcome.portOpened = portOpened_;
    outcome.retries = comRetry_;
    outcome.message = message_;
    const auto bytes = ctx_.target.TransferImage().bytes();
    outcome.image.assign(bytes.begin(), bytes.end());
    return done;
  }

 private:
  bool Run() {
    try {
      bool done = false;
      if (Start()) done = reading_ ? Read() : Write();
      End(true);
      return done;
    } catch (const Failure& failure) {
      Abandon();
      Report().ShowErrLine(Label(), failure);
    } catch (const std::exception& e) {
      // A fault outside the radio's bytes (a hook, memory) is reported the same way.
      Abandon();
      Report().ShowErrLine(Label(), err::kInvalidCall, e.what());
    }
    // A write that broke off after the port opened may have left part of the image in the radio.
    if (!reading_ && portOpened_ && !stopTold_) TellWriteStop();
    return false;
  }

  ErrorReport& Report() { return ctx_.target.TransferReport(); }

  const char* Label() const {
    return reading_ ? "frmCommun->cmdRead_Click" : "frmCommun->cmdWrite_Click";
  }

  // An unexpected failure closes the port and frees the window at once, without the pause.
  void Abandon() {
    if (ended_) return;
    try {
      End(false);
    } catch (const std::exception&) {
      ended_ = true;  // the report that follows names the transfer; nothing more can be done
    }
  }

  // The common start; false when the transfer ends before any traffic.
  bool Start() {
    try {
      lists_ = InitProtocol(ctx_.ranges.readStart, ctx_.ranges.readEnd, ctx_.ranges.writeStart,
                            ctx_.ranges.writeEnd);
    } catch (const Failure& failure) {
      Report().ShowErrLine("modCommun->InitProtocol", failure);
      return false;
    }
    // Besides its entry and end scripts a list holds one script per block; a range whose end lies
    // below its start (an address above 7FFF reads as negative) holds none.
    if ((reading_ ? lists_.read : lists_.write).size() <= 2) {
      const int16_t start = reading_ ? ctx_.ranges.readStart : ctx_.ranges.writeStart;
      const int16_t end = reading_ ? ctx_.ranges.readEnd : ctx_.ranges.writeEnd;
      Report().ShowErrLine(Label(), err::kInvalidPropertyValue,
                           "the range " + HexText(static_cast<uint16_t>(start), 4) + "-" +
                               HexText(static_cast<uint16_t>(end), 4) + " holds no block");
      return false;
    }
    comRetry_ = 0;
    protocol_.RxPollDelay = 1;
    protocol_.RxPollMax = 150;
    ctx_.list.Clear();
    ctx_.observer.Running(true, reading_);
    ctx_.port.OpenCom(ctx_.portNumber, ctx_.device);
    if (ctx_.port.PortOpenFailed) {
      ctx_.observer.PortOpenFailed();
      return false;
    }
    portOpened_ = true;
    return true;
  }

  void End(bool pause) {
    ended_ = true;
    if (portOpened_) ctx_.port.CloseCom();
    ctx_.observer.Running(false, reading_);
    if (pause) ctx_.wait.DelayNms(kEndPauseMs);
  }

  // A read that fails shows message 79; a write tells what it left in the radio.
  void CommunicationFailed() {
    if (reading_) {
      message_ = msg::kCommunicationFailed;
      ctx_.observer.MessageBox(msg::kCommunicationFailed);
    } else {
      TellWriteStop();
    }
  }

  void TellWriteStop() {
    stopTold_ = true;
    if (!writeStop_.dataComplete) message_ = msg::kCommunicationFailed;
    writeStop_.start = ctx_.ranges.writeStart;
    writeStop_.end = ctx_.ranges.writeEnd;
    Report().ShowNoteLine(Label(),
                          WriteStopText(writeStop_, ctx_.target.TransferTexts().language()));
    ctx_.observer.WriteStopped(writeStop_);
  }

  // Runs entries [0, count) of a list, each until it succeeds; false when the transfer's
  // seventh failure aborted it. A write fills the value buffer from the image before each run,
  // a read stores the value buffer into the image after each success.
  bool RunScripts(const std::vector<ScriptEntry>& list, std::size_t count) {
    MemoryImage& image = ctx_.target.TransferImage();
    bool retried = false;
    for (std::size_t k = 0; k < count;) {
      const ScriptEntry& entry = list[k];
      const auto length = static_cast<std::size_t>(entry.ScriptLen);
      if (!reading_) {
        for (std::size_t j = 0; j < length; ++j) {
          protocol_.VaDat[j] = image.at(entry.ScriptAddr + static_cast<int>(j));
        }
      }
      protocol_.ConvComCode(entry.script);
      protocol_.ProtocolCom();
      if (!protocol_.ComFail) {
        ctx_.observer.ShowComPercent(entry.ScriptPercent);
        if (!reading_) NoteWritten(entry);
        if (reading_) {
          for (std::size_t j = 0; j < length; ++j) {
            image.set(entry.ScriptAddr + static_cast<int>(j), protocol_.VaDat[j]);
          }
        }
        // The reply taken may have been the late one of the earlier try: the radio's answer to
        // the retry is still to come.
        if (retried) AwaitQuietLine();
        retried = false;
        ++k;
        continue;
      }
      ++comRetry_;
      if (comRetry_ >= kMaxFailedScripts) {
        CommunicationFailed();
        return false;
      }
      ctx_.wait.SleepMs(kRetryPauseMs);
      AwaitQuietLine();
      retried = true;
    }
    return true;
  }

  // Keeps how far the radio has acknowledged a write: the programming code, then block by block.
  void NoteWritten(const ScriptEntry& entry) {
    if (entry.ScriptLen == 0) {
      writeStop_.entered = true;
      return;
    }
    writeStop_.acknowledged = entry.ScriptAddr + entry.ScriptLen - ctx_.ranges.writeStart;
  }

  // Waits until nothing has arrived for kQuietMs (at most kQuietLimitMs), showing and dropping
  // what arrives meanwhile.
  void AwaitQuietLine() {
    const int64_t start = ctx_.wait.NowMs();
    int64_t quietSince = start;
    for (int64_t now = start; now - quietSince < kQuietMs && now - start < kQuietLimitMs;
         now = ctx_.wait.NowMs()) {
      if (ctx_.link.BytesWaiting() > 0) {
        ctx_.list.ComDataShow(kComReceived, ctx_.link.ReadAll());
        quietSince = ctx_.wait.NowMs();
      }
      ctx_.wait.DelayNms(5);
    }
  }

  bool Read() {
    if (!RunScripts(lists_.read, lists_.read.size())) return false;
    ctx_.target.ImageRead();
    if (ctx_.showMemDat) ctx_.observer.RefreshMemoryGrid();
    return true;
  }

  bool Write() {
    ctx_.target.FoldEdits();
    WriteComDat(ctx_.target.TransferImage(), ctx_.observer.LocalTime());
    if (ctx_.showMemDat) ctx_.observer.RefreshMemoryGrid();
    ctx_.list.AddLine("写入:频率");
    // The list's last entry, the identification script, is replaced by the exchange below.
    if (!lists_.write.empty() && !RunScripts(lists_.write, lists_.write.size() - 1)) return false;
    writeStop_.dataComplete = true;
    return Identify();
  }

  // Sends bytes that expect no reply.
  void Send(const std::vector<uint8_t>& bytes) {
    ctx_.list.ComDataShow(kComSent, bytes);
    ctx_.link.Write(bytes);
  }

  // Sends a frame and waits for at least `length` reply bytes. The transmit buffer is dropped
  // before the frame and the receive buffer right after it, so that nothing stale (nor a cable's
  // echo of the frame) is taken for the reply. Returns every byte waiting, or nothing after the
  // time-out line.
  std::optional<std::vector<uint8_t>> Exchange(const std::vector<uint8_t>& frame, int length,
                                               const std::string& noReplyLine) {
    ctx_.link.DiscardTx();
    Send(frame);
    ctx_.link.DiscardRx();
    for (int check = 0; check < kReplyChecks; ++check) {
      if (ctx_.link.BytesWaiting() >= length) {
        std::vector<uint8_t> reply = ctx_.link.ReadAll();
        ctx_.list.ComDataShow(kComReceived, reply);
        return reply;
      }
      ctx_.wait.DelayNms(1);
      ctx_.wait.SleepMs(1);
    }
    ctx_.list.AddLine(noReplyLine);
    return std::nullopt;
  }

  // Up to four attempts of one exchange; the reply that `accepted` took, or nothing.
  template <typename Accept, typename BeforeAttempt>
  std::optional<std::vector<uint8_t>> Step(const std::vector<uint8_t>& frame, int length,
                                           const std::string& noReplyLine, Accept accepted,
                                           BeforeAttempt beforeAttempt) {
    for (int attempt = 0; attempt < kExchangeAttempts; ++attempt) {
      beforeAttempt();
      std::optional<std::vector<uint8_t>> reply = Exchange(frame, length, noReplyLine);
      if (reply && reply->size() >= static_cast<std::size_t>(length) && accepted(*reply)) {
        return reply;
      }
    }
    return std::nullopt;
  }

  bool Identify() {
    ctx_.list.AddLine(kModelCheckLine);
    const auto anyReply = [](const std::vector<uint8_t>&) { return true; };
    const std::optional<std::vector<uint8_t>> reply =
        Step(kIdentifyByte, 2, kNoReplyLine, anyReply, [] {});
    if (!reply) {
      CommunicationFailed();
      return false;
    }
    // This radio answers 02 03 30 10 0B; only the first two bytes are judged.
    if ((*reply)[0] == 0x02 && (*reply)[1] == 0x03) {
      ctx_.list.AddLine(kModelConclusion);
      ctx_.wait.DelayNms(50);
      Send(kConfirmByte);
      return true;
    }
    return OlderModel();
  }

  // The closing sequence of an older radio: model and band, its parameter block, the radio
  // parameters with two option bits, and the end code.
  bool OlderModel() {
    const MemoryImage& image = ctx_.target.TransferImage();
    const auto acknowledged = [](const std::vector<uint8_t>& reply) { return reply[0] == 0x06; };
    const auto nothing = [] {};

    ctx_.list.AddLine("写入:机型和频段");
    const std::array<uint8_t, 2> lower = BandLimitBcd(ctx_.target.TransferBand().lower);
    const std::array<uint8_t, 2> upper = BandLimitBcd(ctx_.target.TransferBand().upper);
    const std::vector<uint8_t> modelFrame = {
        0x57, 0x03, 0x79, 0x05, image.at(kModelAddress), lower[0], lower[1], upper[0], upper[1]};
    if (!Step(modelFrame, 1, kNoReplyLine, acknowledged, nothing)) {
      CommunicationFailed();
      return false;
    }

    ctx_.list.AddLine("读取:对讲机的机型和参数");
    const std::optional<std::vector<uint8_t>> params = Step(
        kReadParams, kParamReplyLength, kNoReplyLine,
        [](const std::vector<uint8_t>& reply) { return reply[0] == 0x57; }, nothing);
    if (!params) {
      CommunicationFailed();
      return false;
    }
    // The block of 0x03D0-0x03FF follows the four echo bytes; it is kept out of the image.
    const auto paramAt = [&](int address) {
      return (*params)[static_cast<std::size_t>(4 + address - kParamAddress)];
    };
    static_assert(kParamReplyLength == 4 + kParamBlockLength);

    const uint8_t radioKind = paramAt(0x03D4);
    const bool sendRadioParams = radioKind > 0x15 && radioKind < 0x64 && radioKind != 0x1F;
    if (sendRadioParams) {
      std::vector<uint8_t> frame = {0x57, 0x03, 0xF0, 0x10};
      for (int offset = 0; offset < kRadioParamLength; ++offset) {
        const int address = kRadioParamAddress + offset;
        uint8_t value = paramAt(address);
        if (address == 0x03F6 || address == 0x03F7) value = image.at(address);
        frame.push_back(WithOptionBits(address, value, ctx_.target.TransferOptions()));
      }
      const auto beforeAttempt = [this] {
        ctx_.list.AddLine("写入:收音机的SQL和音量及对讲机的参数");
        ctx_.wait.DelayNms(30);
      };
      if (!Step(frame, 1, kNoParamReplyLine, acknowledged, beforeAttempt)) {
        CommunicationFailed();
        return false;
      }
    }

    ctx_.wait.DelayNms(30);
    Send(kEndCode);
    return true;
  }

  TransferContext& ctx_;
  bool reading_;
  Protocol protocol_;
  ScriptLists lists_;
  int16_t comRetry_ = 0;
  bool portOpened_ = false;
  bool ended_ = false;
  WriteStop writeStop_;
  bool stopTold_ = false;
  int message_ = 0;
};

}  // namespace

std::string WriteStopText(const WriteStop& stop, int16_t language) {
  const std::string range = HexText(static_cast<uint16_t>(stop.start), 4) + "-" +
                            HexText(static_cast<uint16_t>(stop.end), 4);
  const std::string taken =
      HexText(static_cast<uint16_t>(stop.start), 4) + "-" +
      HexText(static_cast<uint16_t>(stop.start + std::max(stop.acknowledged, 1) - 1), 4);
  const bool simplified = language == kLangSimplifiedChinese;
  const bool traditional = language == kLangTraditionalChinese;
  const auto pick = [&](std::string zhs, std::string zht, std::string en) {
    return simplified ? zhs : traditional ? zht : en;
  };
  if (!stop.entered) {
    return pick("对讲机未进入编程模式：没有写入任何数据，对讲机的存储未改变。",
                "對講機未進入編程模式：沒有寫入任何資料，對講機的記憶體未改變。",
                "The radio did not enter programming mode: nothing was written and its memory is "
                "unchanged.");
  }
  const std::string again =
      pick("使用前请重新写入。", "使用前請重新寫入。", "Write it again before using it.");
  if (stop.dataComplete) {
    return pick("数据 " + range + " 已全部写入，但写入结束时识别对讲机失败。",
                "資料 " + range + " 已全部寫入，但寫入結束時識別對講機失敗。",
                "The data " + range +
                    " was written, but identifying the radio at the end of the write failed. ") +
           again;
  }
  if (stop.acknowledged == 0) {
    return pick("写入在 " + range + " 的第一块停止：对讲机可能已存有部分新数据。",
                "寫入在 " + range + " 的第一塊停止：對講機可能已存有部分新資料。",
                "The write stopped before the radio acknowledged a block of " + range +
                    ": it may hold part of the new data. ") +
           again;
  }
  return pick("写入在中途停止：对讲机只收到了 " + range + " 中的 " + taken + "，现存有部分新数据。",
              "寫入在中途停止：對講機只收到了 " + range + " 中的 " + taken + "，現存有部分新資料。",
              "The write stopped after " + taken + " of " + range +
                  ": the radio holds part of the new data. ") +
         again;
}

std::tm TransferObserver::LocalTime() {
  return LocalNow();
}

bool ReadTransfer(TransferContext& ctx) {
  TransferOutcome outcome;
  return ReadTransfer(ctx, outcome);
}

bool ReadTransfer(TransferContext& ctx, TransferOutcome& outcome) {
  return Transfer(ctx, true).Run(outcome);
}

bool WriteTransfer(TransferContext& ctx) {
  TransferOutcome outcome;
  return WriteTransfer(ctx, outcome);
}

bool WriteTransfer(TransferContext& ctx, TransferOutcome& outcome) {
  return Transfer(ctx, false).Run(outcome);
}

bool ProbeRadio(PortControl& port, const std::string& device, Wait& wait, DataList& list,
                const SoftFace& texts, ErrorReport& report) {
  bool answered = false;
  report.Guard("modCommun->ProbeRadio", [&] {
    const ScriptLists lists = InitProtocol(0, 0, 0, 0);
    port.OpenCom(0, device);
    if (port.PortOpenFailed) return;
    Protocol protocol(port.link(), wait, list, texts, report);
    protocol.ConvComCode(lists.read.front().script);
    protocol.ProtocolCom();
    answered = !protocol.ComFail;
    if (answered) {
      protocol.ConvComCode(lists.read.back().script);
      protocol.ProtocolCom();
    }
  });
  port.CloseCom();
  return answered;
}

}  // namespace tq
