// A program folder holding the shipped default image and settings file, and a session started in
// it, shared by the inputs of one fuzzing run: start-up reads the whole settings file and builds
// the protocol lists, which would cost more than most inputs.
#pragma once

#include <cstddef>
#include <optional>

#include "session/session.h"
#include "support/fuzz_support.h"
#include "support/temp_folder.h"

namespace tq::fuzzing {

struct StartedProgram {
  StartedProgram() : doc((home.CopyShippedProgramFiles(), home.path()), report) {
    Require(doc.StartUp() && report.lines().empty(), "start-up over the shipped files succeeds");
  }
  StartedProgram(const StartedProgram&) = delete;
  StartedProgram& operator=(const StartedProgram&) = delete;

  testing::TempFolder home;
  ErrorReport report = FixedTimeReport();
  Session doc;
};

// The shared program. Its error list only grows, and once its 16-bit line index wraps, new lines
// go in front of the old ones; the program is started anew long before, so that every input finds
// its own report lines at the end of the list. The list's lines change nothing else.
inline StartedProgram& SharedProgram() {
  constexpr std::size_t kReportLimit = 10000;
  static std::optional<StartedProgram> program;
  if (!program || program->report.lines().size() > kReportLimit) {
    program.reset();
    program.emplace();
  }
  return *program;
}

}  // namespace tq::fuzzing
