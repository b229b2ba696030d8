#include "base/error_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "base/failure.h"

namespace tq {
namespace {

const char* const kHeader = "---------2026-12-05 10:00:00--------";

ErrorReport FixedClockReport() {
  return ErrorReport([] { return std::string("2026-12-05 10:00:00"); });
}

TEST(ErrorReport, EachFailureGivesAHeaderAndAFixedLayoutLineAndIsPassedOn) {
  ErrorReport report = FixedClockReport();
  struct Seen final : ReportObserver {
    void LineAdded(const std::string& line, int index) override { lines.emplace_back(line, index); }
    std::vector<std::pair<std::string, int>> lines;
  } observer;
  report.Subscribe(observer);
  const auto& seen = observer.lines;
  report.ShowErrLine("modCommun->OpenCom", Failure(53, "tq474.serial", "/dev/ttyS0"));
  EXPECT_EQ(report.ErrDescription(), "文件找不到");
  report.ShowErrLine("mdifrmMain->Form_Load", Failure(13, "tq474.settings"));
  const std::vector<std::string> expected = {
      kHeader,
      "         错误:  modCommun->OpenCom     出错号:  53     出错点:  tq474.serial"
      "     出错描述:  文件找不到",
      kHeader,
      "         错误:  mdifrmMain->Form_Load     出错号:  13     出错点:  tq474.settings"
      "     出错描述:  类型不符合"};
  EXPECT_EQ(report.lines(), expected);
  EXPECT_EQ(report.ErrLine(), 4);
  ASSERT_EQ(seen.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(seen[i], std::make_pair(expected[i], static_cast<int>(i)));
  }
  // The description kept program-wide is the one of the last report.
  EXPECT_EQ(report.ErrDescription(), "类型不符合");
}

TEST(ErrorReport, NumbersAbove32767AreReducedTo16BitsBeforeLookUpAndDisplay) {
  ErrorReport report = FixedClockReport();
  report.ShowErrLine("modCommun->OpenCom", 65536 + 13, "tq474");
  EXPECT_EQ(report.lines()[1],
            "         错误:  modCommun->OpenCom     出错号:  13     出错点:  tq474"
            "     出错描述:  类型不符合");
  // A number without a row ends the line with an empty description.
  report.ShowErrLine("modCommun->OpenCom", 40000, "tq474");
  EXPECT_EQ(report.lines()[3],
            "         错误:  modCommun->OpenCom     出错号:  -25536     出错点:  tq474"
            "     出错描述:  ");
  EXPECT_EQ(report.ErrDescription(), "");
  // 31036 fits 16 bits and keeps its own row.
  report.ShowErrLine("mdifrmMain->SaveAsFile", Failure(31036, "tq474.file"));
  EXPECT_EQ(report.lines()[5],
            "         错误:  mdifrmMain->SaveAsFile     出错号:  31036     出错点:  tq474.file"
            "     出错描述:  存储到文件时出错");
}

TEST(ErrorReport, OptionNotesGoInAtTheLineIndexAfterTheWindowIsReloaded) {
  ErrorReport report = FixedClockReport();
  report.ShowOptErrLine("first");
  EXPECT_EQ(report.lines(), (std::vector<std::string>{kHeader, "        可选功能项:   first"}));
  EXPECT_EQ(report.ErrLine(), 2);
  report.ResetLineIndex();
  report.ShowOptErrLine("second");
  ASSERT_EQ(report.lines().size(), 4u);
  EXPECT_EQ(report.lines()[1], "        可选功能项:   second");
  EXPECT_EQ(report.lines()[3], "        可选功能项:   first");
  EXPECT_EQ(report.ErrLine(), 2);
}

TEST(ErrorReportGuard, ReportsWhatEscapesUnderItsLabelAndReturnsFalse) {
  ErrorReport report = FixedClockReport();
  int runs = 0;
  EXPECT_TRUE(report.Guard("modChMem->InitChTable", [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(report.lines().empty()) << "nothing failed";
  EXPECT_FALSE(report.Guard("modChMem->DelOneChannel",
                            [] { throw Failure(9, "tq474.image", "address 8192"); }));
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_EQ(report.lines()[1],
            "         错误:  modChMem->DelOneChannel     出错号:  9     出错点:  tq474.image"
            "     出错描述:  数组索引超出范围");
  // Any other exception is reported too and goes no further.
  EXPECT_NO_THROW(EXPECT_FALSE(
      report.Guard("modSysSet->OptNowDefSol", [] { throw std::out_of_range("slot 100"); })));
  ASSERT_EQ(report.lines().size(), 4u);
  EXPECT_NE(report.lines()[3].find("     错误:  modSysSet->OptNowDefSol     出错号:  "),
            std::string::npos);
}

TEST(ErrorNumberTable, RowsAreAscendingAndEachHasADescription) {
  const std::vector<int>& numbers = ErrorNumbers();
  EXPECT_EQ(numbers.size(), 118u);
  EXPECT_TRUE(std::adjacent_find(numbers.begin(), numbers.end(), std::greater_equal<int>()) ==
              numbers.end());
  for (int number : numbers) EXPECT_FALSE(VbErrNumDes(number).empty()) << number;
  // The build's own failure numbers all have a row.
  for (int number :
       {err::kInvalidCall, err::kOverflow, err::kOutOfMemory, err::kIndexOutOfRange,
        err::kTypeMismatch, err::kFileNotFound, err::kDeviceIo, err::kDiskFull, err::kInputPastEnd,
        err::kDeviceUnavailable, err::kPermissionDenied, err::kPathFileAccess, err::kPathNotFound,
        err::kInvalidPropertyValue, err::kPrinterError, err::kSaveToFile, err::kReadFromFile}) {
    EXPECT_TRUE(std::binary_search(numbers.begin(), numbers.end(), number)) << number;
  }
}

TEST(ErrorNumberTable, NumbersWithoutARowHaveNoDescription) {
  for (int number : {0, 1, 12, 501, 31038, 32767, -1, -25536}) {
    EXPECT_EQ(VbErrNumDes(number), "") << number;
  }
}

}  // namespace
}  // namespace tq
