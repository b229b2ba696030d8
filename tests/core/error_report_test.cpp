#include "base/error_report.h"

#include <gtest/gtest.h>

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

TEST(ErrorReport, ReportLineFollowsTheFixedLayout) {
  ErrorReport report = FixedClockReport();
  report.ShowErrLine("modCommun->OpenCom", Failure(53, "tq474.serial", "/dev/ttyS0"));
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_EQ(report.lines()[0], kHeader);
  EXPECT_EQ(report.lines()[1],
            "         错误:  modCommun->OpenCom     出错号:  53     出错点:  tq474.serial"
            "     出错描述:  文件找不到");
  EXPECT_EQ(report.ErrDescription(), "文件找不到");
  EXPECT_EQ(report.ErrLine(), 2);
}

TEST(ErrorReport, UnknownNumberEndsWithAnEmptyDescription) {
  ErrorReport report = FixedClockReport();
  report.ShowErrLine("frmChMem->vsfgGridCh_AfterEdit:", 1234, "tq474");
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_EQ(report.lines()[1],
            "         错误:  frmChMem->vsfgGridCh_AfterEdit:     出错号:  1234     出错点:  tq474"
            "     出错描述:  ");
  EXPECT_EQ(report.ErrDescription(), "");
}

TEST(ErrorReport, TwoErrorsGiveFourLinesEachSelectedInTurn) {
  ErrorReport report = FixedClockReport();
  std::vector<std::pair<std::string, int>> seen;
  report.SetListener(
      [&seen](const std::string& line, int index) { seen.emplace_back(line, index); });
  report.ShowErrLine("modChMem->ReadChInfo", Failure(9, "tq474.settings"));
  report.ShowErrLine("mdifrmMain->Form_Load", Failure(13, "tq474.settings"));
  ASSERT_EQ(report.lines().size(), 4u);
  EXPECT_EQ(report.ErrLine(), 4);
  EXPECT_EQ(report.lines()[0], kHeader);
  EXPECT_EQ(report.lines()[2], kHeader);
  EXPECT_EQ(report.lines()[1],
            "         错误:  modChMem->ReadChInfo     出错号:  9     出错点:  tq474.settings"
            "     出错描述:  数组索引超出范围");
  EXPECT_EQ(report.lines()[3],
            "         错误:  mdifrmMain->Form_Load     出错号:  13     出错点:  tq474.settings"
            "     出错描述:  类型不符合");
  ASSERT_EQ(seen.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(seen[static_cast<std::size_t>(i)].second, i);
    EXPECT_EQ(seen[static_cast<std::size_t>(i)].first, report.lines()[static_cast<std::size_t>(i)]);
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
  report.ShowErrLine("modCommun->OpenCom", 40000, "tq474");
  EXPECT_EQ(report.lines()[3],
            "         错误:  modCommun->OpenCom     出错号:  -25536     出错点:  tq474"
            "     出错描述:  ");
  // 31036 fits 16 bits and keeps its own row.
  report.ShowErrLine("mdifrmMain->SaveAsFile", Failure(31036, "tq474.file"));
  EXPECT_EQ(report.lines()[5],
            "         错误:  mdifrmMain->SaveAsFile     出错号:  31036     出错点:  tq474.file"
            "     出错描述:  存储到文件时出错");
}

TEST(ErrorReport, OptionNoteHasTheHeaderAndTheIndentedText) {
  ErrorReport report = FixedClockReport();
  report.ShowOptErrLine("出错位置: frmChMem->InitOpt->超时定时器     错误类型: 不在范围内");
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_EQ(report.lines()[0], kHeader);
  EXPECT_EQ(
      report.lines()[1],
      "        可选功能项:   出错位置: frmChMem->InitOpt->超时定时器     错误类型: 不在范围内");
  EXPECT_EQ(report.ErrLine(), 2);
}

TEST(ErrorReport, LinesGoInAtTheLineIndexAfterTheWindowIsReloaded) {
  ErrorReport report = FixedClockReport();
  report.ShowOptErrLine("first");
  report.ResetLineIndex();
  EXPECT_EQ(report.ErrLine(), 0);
  report.ShowOptErrLine("second");
  ASSERT_EQ(report.lines().size(), 4u);
  EXPECT_EQ(report.lines()[1], "        可选功能项:   second");
  EXPECT_EQ(report.lines()[3], "        可选功能项:   first");
  EXPECT_EQ(report.ErrLine(), 2);
}

TEST(ErrorReportGuard, ReportsAFailureUnderItsLabelAndReturnsFalse) {
  ErrorReport report = FixedClockReport();
  const bool ok = report.Guard("modChMem->DelOneChannel",
                               [] { throw Failure(9, "tq474.image", "address 8192"); });
  EXPECT_FALSE(ok);
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_EQ(report.lines()[1],
            "         错误:  modChMem->DelOneChannel     出错号:  9     出错点:  tq474.image"
            "     出错描述:  数组索引超出范围");
}

TEST(ErrorReportGuard, ReturnsTrueWithoutALineWhenNothingFails) {
  ErrorReport report = FixedClockReport();
  int runs = 0;
  EXPECT_TRUE(report.Guard("modChMem->InitChTable", [&] { ++runs; }));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(report.lines().empty());
  EXPECT_EQ(report.ErrLine(), 0);
}

TEST(ErrorReportGuard, AnyOtherExceptionIsReportedTooAndGoesNoFurther) {
  ErrorReport report = FixedClockReport();
  EXPECT_NO_THROW(EXPECT_FALSE(
      report.Guard("modSysSet->OptNowDefSol", [] { throw std::out_of_range("slot 100"); })));
  ASSERT_EQ(report.lines().size(), 2u);
  EXPECT_NE(report.lines()[1].find("     错误:  modSysSet->OptNowDefSol     出错号:  "),
            std::string::npos);
}

// The error-number table.

TEST(ErrorNumberTable, HoldsExactlyTheKnownNumbersAscending) {
  const std::vector<int> expected = {
      3,   5,   6,   7,   9,   10,  11,    13,    14,    16,    17,    18,    20,   28,  35,
      47,  48,  49,  51,  52,  53,  54,    55,    57,    58,    59,    61,    62,   63,  67,
      68,  70,  71,  74,  75,  76,  91,    92,    93,    94,    97,    298,   320,  321, 322,
      325, 327, 328, 335, 336, 337, 338,   360,   361,   363,   364,   365,   368,  371, 380,
      381, 382, 383, 385, 387, 393, 394,   400,   402,   419,   422,   423,   424,  425, 429,
      430, 432, 438, 440, 442, 443, 445,   446,   447,   448,   449,   450,   451,  452, 453,
      454, 455, 457, 458, 459, 460, 461,   462,   463,   480,   481,   482,   483,  484, 485,
      486, 520, 521, 735, 744, 746, 31001, 31004, 31018, 31027, 31032, 31036, 31037};
  ASSERT_EQ(expected.size(), 118u);
  EXPECT_EQ(ErrorNumbers(), expected);
}

TEST(ErrorNumberTable, EveryRowHasADescription) {
  for (int number : ErrorNumbers()) EXPECT_FALSE(VbErrNumDes(number).empty()) << number;
}

TEST(ErrorNumberTable, NumbersWithoutARowHaveNoDescription) {
  for (int number : {0, 1, 2, 4, 8, 12, 15, 19, 56, 299, 501, 31000, 31038, 32767, -1, -25536}) {
    EXPECT_EQ(VbErrNumDes(number), "") << number;
  }
}

TEST(ErrorNumberTable, BuildFailureNumbersAllHaveARow) {
  for (int number :
       {err::kInvalidCall, err::kOverflow, err::kOutOfMemory, err::kIndexOutOfRange,
        err::kTypeMismatch, err::kFileNotFound, err::kDeviceIo, err::kDiskFull, err::kInputPastEnd,
        err::kDeviceUnavailable, err::kPermissionDenied, err::kPathFileAccess, err::kPathNotFound,
        err::kInvalidPropertyValue, err::kPrinterError, err::kSaveToFile, err::kReadFromFile}) {
    EXPECT_FALSE(VbErrNumDes(number).empty()) << number;
  }
}

class TellingRows : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(TellingRows, MatchCharacterForCharacter) {
  EXPECT_EQ(VbErrNumDes(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    ErrorNumberTable, TellingRows,
    ::testing::Values(std::pair{5, "无效的过程调用"}, std::pair{6, "溢出"},
                      std::pair{7, "内存不足"}, std::pair{9, "数组索引超出范围"},
                      std::pair{11, "除以零"}, std::pair{13, "类型不符合"},
                      std::pair{53, "文件找不到"}, std::pair{55, "文件已打开"},
                      std::pair{57, "I/O设备错误"}, std::pair{61, "磁盘已满"},
                      std::pair{62, "输入已超过文件结尾"}, std::pair{68, "设备不可用"},
                      std::pair{70, "没有访问权限"}, std::pair{75, "路径/文件访问错误"},
                      std::pair{76, "找不到路径"}, std::pair{91, "尚未设置对象变量或With区块变量"},
                      std::pair{380, "属性值无效"}, std::pair{438, "对象不支持此属性或方法"},
                      std::pair{482, "打印机错误"}, std::pair{31036, "存储到文件时出错"},
                      std::pair{31037, "从文件读出时出错"}));

}  // namespace
}  // namespace tq
