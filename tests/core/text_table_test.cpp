#include "base/text_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tq {
namespace {

// The message numbers that carry a text in languages 1 and 3, as inclusive ranges.
const std::vector<std::pair<int, int>> kFilledRanges = {
    {0, 8},     {16, 16},   {20, 54},   {57, 58},   {60, 64},   {66, 66},   {68, 68},
    {70, 96},   {100, 102}, {105, 106}, {110, 110}, {112, 114}, {116, 116}, {120, 124},
    {130, 135}, {140, 157}, {160, 167}, {170, 172}, {175, 176}, {179, 181}, {183, 187},
    {200, 200}, {205, 215}, {217, 259}, {262, 264}, {266, 268}, {270, 277}, {282, 289},
    {291, 303}, {307, 308}, {310, 310}, {315, 318}, {320, 323}, {326, 328}, {330, 331},
    {333, 334}, {336, 342}, {346, 348}, {351, 351}, {356, 356}, {370, 378}, {405, 406}};

std::set<int> FilledNumbers() {
  std::set<int> numbers;
  for (const auto& [first, last] : kFilledRanges) {
    for (int n = first; n <= last; ++n) numbers.insert(n);
  }
  return numbers;
}

TEST(NormaliseLanguage, KeepsOneTwoThreeAndTurnsEverythingElseIntoEnglish) {
  EXPECT_EQ(NormaliseLanguage(1), 1);
  EXPECT_EQ(NormaliseLanguage(2), 2);
  EXPECT_EQ(NormaliseLanguage(3), 3);
  for (long long other : {0LL, 4LL, 7LL, 9LL, -1LL, 65537LL, 2052LL}) {
    EXPECT_EQ(NormaliseLanguage(other), 3) << other;
  }
}

class FilledLanguage : public ::testing::TestWithParam<int> {};

TEST_P(FilledLanguage, FillsExactlyTheListedNumbers) {
  const SoftFace face = SoftFace::Build(GetParam());
  EXPECT_EQ(face.language(), GetParam());
  const std::set<int> filled = FilledNumbers();
  ASSERT_EQ(filled.size(), 272u);
  for (int n = 0; n < SoftFace::kCount; ++n) {
    if (filled.contains(n)) {
      EXPECT_FALSE(face[n].empty()) << "message " << n;
    } else {
      EXPECT_EQ(face[n], "") << "message " << n;
    }
  }
}

TEST_P(FilledLanguage, LeavesTheDeclaredGapsEmpty) {
  // The numbers declared empty in both languages, as inclusive ranges, and all above 406.
  const std::vector<std::pair<int, int>> gaps = {
      {9, 15},    {17, 19},   {59, 59},   {65, 65},   {67, 67},   {69, 69},   {97, 99},
      {103, 104}, {107, 107}, {109, 109}, {111, 111}, {115, 115}, {117, 119}, {125, 129},
      {136, 139}, {158, 159}, {168, 169}, {173, 174}, {177, 178}, {182, 182}, {188, 189},
      {196, 199}, {201, 204}, {216, 216}, {260, 261}, {265, 265}, {269, 269}, {278, 281},
      {290, 290}, {304, 306}, {309, 309}, {311, 314}, {319, 319}, {324, 325}, {329, 329},
      {332, 332}, {335, 335}, {343, 345}, {349, 350}, {352, 355}, {357, 369}, {379, 404},
      {407, 500}};
  const SoftFace face = SoftFace::Build(GetParam());
  for (const auto& [first, last] : gaps) {
    for (int n = first; n <= last; ++n) EXPECT_EQ(face[n], "") << "message " << n;
  }
}

TEST_P(FilledLanguage, MenuCaptionsCarryTheirAccelerator) {
  const SoftFace face = SoftFace::Build(GetParam());
  for (int n : {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,  35,  36,
                37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 58, 100, 101, 167}) {
    EXPECT_NE(face[n].find('&'), std::string::npos) << "message " << n << ": " << face[n];
  }
}

INSTANTIATE_TEST_SUITE_P(SoftFace, FilledLanguage, ::testing::Values(1, 3));

TEST(SoftFace, ChineseMenuCaptionsPutTheAcceleratorInBracketsAtTheEnd) {
  const SoftFace face = SoftFace::Build(1);
  for (int n : {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,  35,  36, 37,
                38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 57, 58, 100, 101, 167}) {
    const std::string& text = face[n];
    ASSERT_GE(text.size(), 4u) << n;
    const std::string tail = text.substr(text.size() - 4);
    EXPECT_EQ(tail.substr(0, 2), "(&") << n << ": " << text;
    EXPECT_TRUE(tail[2] >= 'A' && tail[2] <= 'Z') << n << ": " << text;
    EXPECT_EQ(tail[3], ')') << n << ": " << text;
  }
}

TEST(SoftFace, TraditionalChineseHasNoTexts) {
  const SoftFace face = SoftFace::Build(2);
  EXPECT_EQ(face.language(), 2);
  for (int n = 0; n < SoftFace::kCount; ++n) EXPECT_EQ(face[n], "") << "message " << n;
}

TEST(SoftFace, AnInvalidLanguageBuildsEnglish) {
  const SoftFace face = SoftFace::Build(9);
  EXPECT_EQ(face.language(), 3);
  EXPECT_EQ(face[16], "TQ-474 Radio Software");
  EXPECT_EQ(face[94], "Ready");
  EXPECT_EQ(SoftFace::Build(0)[70], "Notice");
}

TEST(SoftFace, NumbersOutsideTheTableGiveEmptyText) {
  for (int language : {1, 2, 3}) {
    const SoftFace face = SoftFace::Build(language);
    EXPECT_EQ(face[-1], "");
    EXPECT_EQ(face[501], "");
    EXPECT_EQ(face[-32768], "");
    EXPECT_EQ(face[100000], "");
  }
}

struct TellingText {
  int number;
  const char* chinese;
  const char* english;
};

class TellingTexts : public ::testing::TestWithParam<TellingText> {};

TEST_P(TellingTexts, MatchCharacterForCharacter) {
  const TellingText& row = GetParam();
  EXPECT_EQ(SoftFace::Build(1)[row.number], row.chinese);
  EXPECT_EQ(SoftFace::Build(3)[row.number], row.english);
}

INSTANTIATE_TEST_SUITE_P(
    SoftFace, TellingTexts,
    ::testing::Values(
        TellingText{0, "新建", "New"}, TellingText{8, "打印", "Print"},
        TellingText{16, "TQ-474写频软件", "TQ-474 Radio Software"},
        TellingText{24, "另存为(&A)", "S&ave As"}, TellingText{35, "English(&E)", "&English"},
        TellingText{45, "DTMF(双音多频)(&D)", "&DTMF"},
        TellingText{47, "锁定信道界面(&L)", "&Lock Channel Interface"},
        TellingText{50, "确定", "OK"}, TellingText{58, "锁定界面(&D)", "Lock Face(&D)"},
        TellingText{60, "通信端口设置", "Communication Port"}, TellingText{64, "取消", "Cancel"},
        TellingText{68, "Language has changed, you need to restart the software.",
                    "Language has changed, you need to restart the software."},
        TellingText{70, "提示", "Notice"},
        TellingText{72, "选择不同型号的机型将删除所有信道的数据，是否继续?",
                    "All data will be cleared,continue?"},
        TellingText{73, "你要退出吗?", "Are you sure want to exit?"},
        TellingText{74, "当前所有信道数据将被清除，是否继续?",
                    "All data will be cleared,continue?"},
        TellingText{75, "通信端口未设置,请先选择 \"设置\" -> \"通信端口\" 选择串口",
                    "Failed to open port,Please set communication port first!"},
        TellingText{79, "通信出错，请检查连线及串口的选择!",
                    "Communication failed,please check commuication port!"},
        TellingText{85, "文件名:", "File Name:"},
        TellingText{89, "频段不符,是否继续?", "Frequency range is not right，continue?"},
        TellingText{94, "就绪", "Ready"}, TellingText{100, "读频(&R)", "&Read"},
        TellingText{102, "通信", "Communicate"},
        TellingText{105, "正在打印，请稍候...", "Printing，Please wait..."},
        TellingText{116, "信道界面已锁定", "Interface Locked"},
        TellingText{124, "确定删除所有的信道数据?", "Frequency data will be cleared!"},
        TellingText{156, "通信进程", "Communication"}, TellingText{171, "通信成功", "Successful"},
        TellingText{175, "Rx：没有收到数据，请检查串口及连线！",
                    "Rx：Communication failed! No receive Data!"},
        TellingText{176, "Rx：通信时接收数据出错!",
                    "Rx：Communication failed! Receive Data Error!"},
        TellingText{185, "频段[MHz]", "Frequency[MHz]"},
        TellingText{187, "上次写频时间", "Write Data Last Time"},
        TellingText{233, "超时定时器", "Time Out Timer[s]"}, TellingText{238, "秒", "s"},
        TellingText{300, "TQ-474", "TQ-621"}, TellingText{302, "信道信息", "Channel Info"},
        TellingText{317, "女声NA021-2", "Female NA021-2"}, TellingText{320, "12.8MHz", "12.8MHz"},
        TellingText{342, "3.0", "3.0"}, TellingText{348, "开", "On"},
        TellingText{356, "TQ-474", "TQ-474"}, TellingText{373, "自定义", "Custom"},
        TellingText{374, "自定义频率范围", "Custom"},
        TellingText{376, "频率上限[MHz]", "Max [MHz]"}, TellingText{406, "写频", "Write"}));

TEST(SoftFace, ListEntriesWithoutWordsAreTheSameInBothLanguages) {
  const SoftFace chinese = SoftFace::Build(1);
  const SoftFace english = SoftFace::Build(3);
  for (int n : {180, 181, 206, 207, 208, 209, 210, 211, 212, 213, 214,
                215, 320, 321, 322, 323, 337, 338, 339, 340, 341, 342}) {
    EXPECT_EQ(chinese[n], english[n]) << "message " << n;
  }
  EXPECT_EQ(english[321], "13.0MHz");
  EXPECT_EQ(english[337], "0.3");
}

}  // namespace
}  // namespace tq
