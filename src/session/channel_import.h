// Importing a channel CSV into the data in two steps: a plan that shows what would change (made
// on a copy of the data, so nothing changes before the user agrees), then the import itself.
#pragma once

#include <string>
#include <vector>

#include "editor/channel_csv.h"

namespace tq {

class Session;
class ChannelGrid;

struct ImportPlan {
  bool readable = false;  // false: the text is no channel list (see `why`)
  std::string why;
  std::vector<CsvProblem> problems;  // rows refused, and notes on rows taken
  std::size_t channels = 0;          // rows that would be entered
  std::string changes;               // the changes, as the comparison lists them; "" for none
};

// What importing `text` into the session's data would do. The session is not changed.
ImportPlan PlanImport(Session& session, const std::string& text);

// Imports `text` through `grid` (built over the session) as one step for Undo.
CsvRows ImportChannels(Session& session, ChannelGrid& grid, const std::string& text);

// The plan as the lines a user reads before agreeing: the changes, then one line per problem
// ("line 4: Tone: ..."), in the session's language.
std::string ImportPlanText(const ImportPlan& plan, int16_t language);

}  // namespace tq
