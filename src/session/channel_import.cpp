#include "session/channel_import.h"

#include "base/error_report.h"
#include "editor/channel_grid.h"
#include "session/image_diff.h"
#include "session/session.h"

namespace tq {

ImportPlan PlanImport(Session& session, const std::string& text) {
  ImportPlan plan;
  const CsvMapping mapping = ReadCsvMapping(session.Settings());
  const CsvRows parsed = ParseChannelCsv(text, session, mapping);
  plan.readable = parsed.readable;
  plan.why = parsed.why;
  if (!parsed.readable) return plan;

  // A copy of the data, started from the same settings: the rows go there first.
  ErrorReport report;
  Session copy(session.Where(), report);
  if (!copy.StartUp()) {
    plan.readable = false;
    plan.why = "the settings file cannot be read";
    return plan;
  }
  copy.LoadImage(session.ImageAsSaved());
  const DiffSide before = SideOf(copy, copy.ImageAsSaved());
  ChannelGrid grid(copy);
  grid.SetChGrid();
  grid.ShowChTblGrid();
  CsvRows rows = ParseChannelCsv(text, copy, mapping);
  const std::vector<int> written = EnterCsvChannels(grid, copy, rows);
  plan.channels = written.size();
  plan.problems = rows.problems;
  plan.changes =
      DiffText(CompareSides(before, SideOf(copy, copy.ImageAsSaved()), copy), session.Language());
  return plan;
}

CsvRows ImportChannels(Session& session, ChannelGrid& grid, const std::string& text) {
  CsvRows rows = ParseChannelCsv(text, session, ReadCsvMapping(session.Settings()));
  if (rows.readable) EnterCsvChannels(grid, session, rows);
  return rows;
}

std::string ImportPlanText(const ImportPlan& plan, int16_t language) {
  const bool chinese = language == kLangSimplifiedChinese || language == kLangTraditionalChinese;
  std::string text = plan.changes.empty() ? NoDifferencesText(language) + "\n" : plan.changes;
  if (!plan.problems.empty()) text += "\n";
  for (const CsvProblem& problem : plan.problems) {
    text += (chinese ? "第 " : "line ") + std::to_string(problem.line) + (chinese ? " 行" : "") +
            ": " + problem.column + ": " + problem.reason + "\n";
  }
  return text;
}

}  // namespace tq
