#include "base/error_report.h"

#include <ctime>
#include <exception>
#include <new>

#include "base/numbers.h"

namespace tq {

std::string LocalDateTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

ErrorReport::ErrorReport(DateTimeSource dateTime) : dateTime_(std::move(dateTime)) {}

std::string ErrorReport::HeaderLine() const {
  return "---------" + dateTime_() + "--------";
}

void ErrorReport::AddLine(std::string line) {
  // The line goes in at ErrLine; an index past the end (or one that wrapped negative after
  // 32767 lines) appends it.
  const int requested = errLine_;
  const std::size_t at = requested >= 0 && static_cast<std::size_t>(requested) <= lines_.size()
                             ? static_cast<std::size_t>(requested)
                             : lines_.size();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  errLine_ = WrapToInt16(errLine_ + 1);
  observers_.Notify(
      [&](ReportObserver& observer) { observer.LineAdded(lines_[at], static_cast<int>(at)); });
}

void ErrorReport::ShowErrLine(std::string_view label, long long number, std::string_view source) {
  AddLine(HeaderLine());
  const int16_t shortNumber = WrapToInt16(number);
  errDescription_ = VbErrNumDes(shortNumber);
  std::string line = "    ";
  line += "     错误:  ";
  line += label;
  line += "     出错号:  ";
  line += std::to_string(shortNumber);
  line += "     出错点:  ";
  line += source;
  line += "     出错描述:  ";
  line += errDescription_;
  AddLine(std::move(line));
}

void ErrorReport::ShowErrLine(std::string_view label, const Failure& failure) {
  lastDetail_ = failure.what();
  ShowErrLine(label, failure.number(), failure.source());
}

void ErrorReport::ShowOptErrLine(std::string_view text) {
  AddLine(HeaderLine());
  AddLine("        可选功能项:   " + std::string(text));
}

void ErrorReport::ShowNoteLine(std::string_view label, std::string_view text) {
  AddLine(HeaderLine());
  AddLine("         " + std::string(label) + ":   " + std::string(text));
}

bool ErrorReport::Guard(std::string_view label, const std::function<void()>& procedure) {
  try {
    procedure();
    return true;
  } catch (const Failure& failure) {
    ShowErrLine(label, failure);
  } catch (const std::bad_alloc&) {
    lastDetail_ = "out of memory";
    ShowErrLine(label, err::kOutOfMemory, "tq474");
  } catch (const std::exception& e) {
    lastDetail_ = e.what();
    ShowErrLine(label, err::kInvalidCall, e.what());
  }
  return false;
}

}  // namespace tq
