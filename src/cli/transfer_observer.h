// What a transfer tells on the command line: a progress line on a terminal, and what ended it.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/message_numbers.h"
#include "base/text_table.h"
#include "comm/transfer.h"
#include "session/session.h"

namespace tq::cli {

class CliObserver final : public TransferObserver {
 public:
  // `terminal`: a progress line "Writing DEVICE:  42 %" is kept up to date on stderr.
  CliObserver(const char* verb, std::string device, bool terminal)
      : verb_(verb), device_(std::move(device)), terminal_(terminal) {}
  void ShowComPercent(int16_t percent) override {
    if (terminal_) std::fprintf(stderr, "\r%s %s: %3d %%", verb_, device_.c_str(), percent);
  }
  void MessageBox(int number) override { shownMessage = number; }
  void TellUser(const std::string& text) override { told.push_back(text); }
  void WriteStopped(const WriteStop& stop) override {
    writeStop = stop;
    if (!stop.dataComplete) shownMessage = msg::kCommunicationFailed;
  }

  // Why a transfer that returned false failed, one text a line, in the session's language: the
  // message shown (79 when nothing else was said), what a stopped write left in the radio, and
  // why a backup or a verify failed.
  std::vector<std::string> FailureTexts(const Session& session) const {
    std::vector<std::string> texts;
    if (shownMessage != 0 || (!writeStop && told.empty())) {
      texts.push_back(TextOrEnglish(session.Texts(),
                                    shownMessage != 0 ? shownMessage : msg::kCommunicationFailed));
    }
    if (writeStop) texts.push_back(WriteStopText(*writeStop, session.Language()));
    texts.insert(texts.end(), told.begin(), told.end());
    return texts;
  }

  int shownMessage = 0;
  std::optional<WriteStop> writeStop;
  std::vector<std::string> told;

 private:
  const char* verb_;
  std::string device_;
  bool terminal_;
};

}  // namespace tq::cli
