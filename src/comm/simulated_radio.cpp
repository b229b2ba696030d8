#include "comm/simulated_radio.h"

#include <algorithm>
#include <utility>

namespace tq {
namespace {

// Frame shapes, by their first byte:
//
//   3A 91 C4 0E 7B 25 D8   enter programming mode         -> 06
//   52 hi lo L             read L bytes (L 1..255)         -> 57 hi lo L + L bytes
//   57 hi lo L + L bytes   write L bytes (L 1..255)        -> 06
//   6C 0F 93 B1 D4 7E 28   end of read transfer            -> nothing
//   02                     identification                  -> 02 03 30 10 0B (older model 02 00)
//   45                     end of write transfer           -> nothing
constexpr std::array<uint8_t, 7> kProgrammingCode = {0x3A, 0x91, 0xC4, 0x0E, 0x7B, 0x25, 0xD8};
constexpr std::array<uint8_t, 7> kEndCode = {0x6C, 0x0F, 0x93, 0xB1, 0xD4, 0x7E, 0x28};
constexpr uint8_t kRead = 0x52;
constexpr uint8_t kWrite = 0x57;
constexpr uint8_t kIdentify = 0x02;
constexpr uint8_t kEndOfWrite = 0x45;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kExtraByte = 0xEE;

// The older-model "model and band" frame: 57 03 79 05 + model byte and two BCD band limits.
constexpr uint8_t kModelBandHigh = 0x03;
constexpr uint8_t kModelBandLow = 0x79;
constexpr uint8_t kModelBandLength = 5;

// How far the front of the input matches a fixed code.
enum class Match { kNo, kPrefix, kWhole };

Match MatchCode(const std::deque<uint8_t>& input, const std::array<uint8_t, 7>& code) {
  const std::size_t n = std::min(input.size(), code.size());
  for (std::size_t k = 0; k < n; ++k) {
    if (input[k] != code[k]) return Match::kNo;
  }
  return n == code.size() ? Match::kWhole : Match::kPrefix;
}

}  // namespace

SimulatedRadio::SimulatedRadio(bool olderModel, RadioFaults faults)
    : olderModel_(olderModel), faults_(std::move(faults)) {
  memory_.fill(0xFF);
}

int SimulatedRadio::AddressOf(uint8_t high, uint8_t low) noexcept {
  return ((high >> 4) * 0x400 + (high & 0x0F) * 0x100 + low) & (kMemorySize - 1);
}

std::vector<std::vector<uint8_t>> SimulatedRadio::Receive(const std::vector<uint8_t>& bytes) {
  std::vector<std::vector<uint8_t>> out;
  // A radio whose line has hung up hears nothing more.
  if (hungUp_) return out;
  input_.insert(input_.end(), bytes.begin(), bytes.end());
  std::vector<uint8_t> reply;
  while (std::optional<std::size_t> length = TakeFrame(reply)) {
    const auto end = input_.begin() + static_cast<std::ptrdiff_t>(*length);
    frames_.emplace_back(input_.begin(), end);
    input_.erase(input_.begin(), end);
    ++frameCount_;
    Reply(out, std::move(reply));
    reply.clear();
    if (faults_.hangUpAfter > 0 && frameCount_ >= faults_.hangUpAfter) {
      hungUp_ = true;
      input_.clear();
      break;
    }
  }
  return out;
}

std::optional<std::size_t> SimulatedRadio::TakeFrame(std::vector<uint8_t>& reply) {
  reply.clear();
  while (!input_.empty()) {
    const uint8_t first = input_.front();
    switch (first) {
      case 0x3A:
      case 0x6C: {
        const bool programming = first == 0x3A;
        switch (MatchCode(input_, programming ? kProgrammingCode : kEndCode)) {
          case Match::kPrefix:
            return std::nullopt;
          case Match::kWhole:
            if (programming) reply = {kAck};
            return kProgrammingCode.size();
          case Match::kNo:
            break;
        }
        break;
      }
      case kRead: {
        if (input_.size() < 4) return std::nullopt;
        const uint8_t length = input_[3];
        if (length == 0) break;
        const uint8_t high = input_[1];
        const uint8_t low = input_[2];
        const int address = AddressOf(high, low);
        reply = {kWrite, high, low, length};
        for (int k = 0; k < length; ++k) {
          reply.push_back(memory_[static_cast<std::size_t>((address + k) & (kMemorySize - 1))]);
        }
        if (faults_.corruptEchoAt && !echoCorrupted_ && *faults_.corruptEchoAt == address) {
          reply[2] ^= 0x01;
          echoCorrupted_ = true;
        }
        return 4;
      }
      case kWrite: {
        if (input_.size() < 4) return std::nullopt;
        const uint8_t length = input_[3];
        if (length == 0) break;
        if (input_.size() < 4u + length) return std::nullopt;
        const uint8_t high = input_[1];
        const uint8_t low = input_[2];
        const int address = AddressOf(high, low);
        for (int k = 0; k < length; ++k) {
          const int at = (address + k) & (kMemorySize - 1);
          uint8_t value = input_[static_cast<std::size_t>(4 + k)];
          // A cell that does not keep what it is told: only reading it back shows it.
          if (faults_.corruptStoreAt == at) value = static_cast<uint8_t>(value ^ 0x5A);
          memory_[static_cast<std::size_t>(at)] = value;
        }
        if (high == kModelBandHigh && low == kModelBandLow && length == kModelBandLength) {
          modelAndBand_.assign(input_.begin() + 4, input_.begin() + 4 + kModelBandLength);
        }
        reply = {kAck};
        return 4u + length;
      }
      case kIdentify:
        if (!faults_.identifyReply.empty()) {
          reply = faults_.identifyReply;
        } else if (olderModel_) {
          reply = {0x02, 0x00};
        } else {
          reply = {0x02, 0x03, 0x30, 0x10, 0x0B};
        }
        return 1;
      case kEndOfWrite:
        return 1;
      default:
        break;
    }
    // Not the start of any frame (or a malformed one): the radio skips the byte and looks for
    // a frame from the next one on.
    input_.pop_front();
  }
  return std::nullopt;
}

void SimulatedRadio::Reply(std::vector<std::vector<uint8_t>>& out, std::vector<uint8_t> reply) {
  if (reply.empty()) return;  // a frame the radio does not answer
  ++replyCount_;
  if (faults_.silent || hungUp_) return;
  if (faults_.silentAfter > 0 && replyCount_ > faults_.silentAfter) return;
  if (faults_.dropReply > 0 && replyCount_ == faults_.dropReply) return;
  if (faults_.shortReply > 0 && replyCount_ == faults_.shortReply) reply.pop_back();
  reply.insert(reply.end(), static_cast<std::size_t>(std::max(faults_.extraBytes, 0)), kExtraByte);
  if (!reply.empty()) out.push_back(std::move(reply));
}

}  // namespace tq
