// The running error list: every guarded procedure hands its failures here as a dated two-line
// report; the option set-up adds its out-of-range notes. The error-list window shows `lines()`
// and follows new lines through the session.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/observers.h"

namespace tq {

// The description of an error number from the error-number table (Simplified Chinese whatever
// the interface language); empty for a number that is not in the table.
std::string VbErrNumDes(int number);

// Every number of the error-number table, ascending.
const std::vector<int>& ErrorNumbers();

// The local date and time as the header line shows it ("2026-12-05 19:10:25").
std::string LocalDateTimeText();

// Told of each line added to the error list and the index it was added at.
class ReportObserver {
 public:
  virtual ~ReportObserver() = default;
  virtual void LineAdded(const std::string& line, int index) = 0;
};

class ErrorReport {
 public:
  using DateTimeSource = std::function<std::string()>;

  explicit ErrorReport(DateTimeSource dateTime = LocalDateTimeText);

  // Adds the two-line report of `failure` under the position label `label`.
  void ShowErrLine(std::string_view label, const Failure& failure);
  // Adds the two-line report of an error given by number and source text.
  void ShowErrLine(std::string_view label, long long number, std::string_view source);
  // Adds an option note: the header line, then the note line with `text`.
  void ShowOptErrLine(std::string_view text);
  // Adds a note that is not a failure (what a stopped write left in the radio): the header line,
  // then the position label and `text`.
  void ShowNoteLine(std::string_view label, std::string_view text);

  // Runs `procedure`; a failure that escapes it is reported under `label`. Returns false when
  // something was reported. Nothing escapes this guard.
  bool Guard(std::string_view label, const std::function<void()>& procedure);

  const std::vector<std::string>& lines() const noexcept { return lines_; }
  int16_t ErrLine() const noexcept { return errLine_; }
  const std::string& ErrDescription() const noexcept { return errDescription_; }
  // The detail text of the last failure reported through ShowErrLine(label, failure).
  const std::string& LastDetail() const noexcept { return lastDetail_; }
  void Subscribe(ReportObserver& observer) { observers_.Subscribe(observer); }
  void Unsubscribe(ReportObserver& observer) { observers_.Unsubscribe(observer); }
  // The error-list window sets the line index back to 0 when it is loaded again.
  void ResetLineIndex() noexcept { errLine_ = 0; }

 private:
  void AddLine(std::string line);
  std::string HeaderLine() const;

  DateTimeSource dateTime_;
  Observers<ReportObserver> observers_;
  std::vector<std::string> lines_;
  int16_t errLine_ = 0;
  std::string errDescription_;
  std::string lastDetail_;
};

}  // namespace tq
