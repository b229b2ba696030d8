// What a test reads of an outcome: the number of the failure an action threw, and the lines of
// an error report that mention a label.
#pragma once

#include <algorithm>
#include <functional>
#include <string>

#include "base/error_report.h"
#include "base/failure.h"

namespace tq::testing {

// The number of the Failure that `action` threw; 0 when it threw none.
inline int FailureNumber(const std::function<void()>& action) {
  try {
    action();
  } catch (const Failure& failure) {
    return failure.number();
  }
  return 0;
}

inline int CountMentions(const ErrorReport& report, const std::string& label) {
  return static_cast<int>(std::count_if(
      report.lines().begin(), report.lines().end(),
      [&](const std::string& line) { return line.find(label) != std::string::npos; }));
}

inline bool Mentions(const ErrorReport& report, const std::string& label) {
  return CountMentions(report, label) > 0;
}

}  // namespace tq::testing
