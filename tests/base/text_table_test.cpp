#include "base/text_table.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace tq {
namespace {

TEST(NormaliseLanguage, KeepsOneTwoThreeAndTurnsEverythingElseIntoEnglish) {
  for (long long language : {1LL, 2LL, 3LL}) EXPECT_EQ(NormaliseLanguage(language), language);
  for (long long other : {0LL, 4LL, 9LL, -1LL, 65537LL, 2052LL}) {
    EXPECT_EQ(NormaliseLanguage(other), 3) << other;
  }
}

TEST(SoftFace, EveryLanguageFillsTheSameNumbers) {
  const SoftFace chinese = SoftFace::Build(1);
  const SoftFace traditional = SoftFace::Build(2);
  const SoftFace english = SoftFace::Build(3);
  int filled = 0;
  for (int n = 0; n < SoftFace::kCount; ++n) {
    EXPECT_EQ(chinese[n].empty(), english[n].empty()) << "message " << n;
    EXPECT_EQ(traditional[n].empty(), english[n].empty()) << "message " << n;
    filled += english[n].empty() ? 0 : 1;
  }
  EXPECT_EQ(filled, 272);
  EXPECT_EQ(english[406], "Write");
  EXPECT_EQ(english[407], "");
}

TEST(SoftFace, MenuCaptionsCarryTheirAccelerator) {
  const SoftFace english = SoftFace::Build(3);
  const SoftFace chinese = SoftFace::Build(1);
  const SoftFace traditional = SoftFace::Build(2);
  for (int n : {20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34,  35,  36, 37,
                38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 57, 58, 100, 101, 167}) {
    if (n != 57) {
      EXPECT_NE(english[n].find('&'), std::string::npos) << n << ": " << english[n];
    }
    // Chinese captions end in the accelerator in brackets: "(&X)", the same in both scripts.
    const std::string& text = chinese[n];
    ASSERT_GE(text.size(), 4u) << n;
    const std::string tail = text.substr(text.size() - 4);
    EXPECT_EQ(tail.substr(0, 2), "(&") << n << ": " << text;
    EXPECT_TRUE(tail[2] >= 'A' && tail[2] <= 'Z') << n << ": " << text;
    EXPECT_EQ(tail[3], ')') << n << ": " << text;
    const std::string& own = traditional[n];
    ASSERT_GE(own.size(), 4u) << n;
    EXPECT_EQ(own.substr(own.size() - 4), tail) << n << ": " << own;
  }
}

// Traditional Chinese is written in Traditional characters and in Taiwan's radio terms: where a
// Simplified Chinese text has a term, its Traditional text has the term's Taiwan form, and no
// text keeps a Simplified character or a form the converter gets wrong for radios.
TEST(SoftFace, TraditionalChineseUsesTaiwanRadioTerms) {
  const SoftFace simplified = SoftFace::Build(1);
  const SoftFace traditional = SoftFace::Build(2);
  EXPECT_EQ(traditional.language(), 2);
  const std::pair<std::string, std::string> terms[] = {
      {"信道", "頻道"},   {"读频", "讀頻"}, {"写频", "寫頻"}, {"串口", "序列埠"},
      {"端口", "序列埠"}, {"文件", "檔"},   {"帮助", "說明"}, {"打印", "列印"}};
  const char* const wrong[] = {"通道", "寬帶", "窄帶", "亞音訊", "串列埠", "通訊埠",
                               "频",   "读",   "写",   "设",     "机",     "对讲",
                               "关",   "开",   "选",   "软件",   "数据",   "时"};
  int channelTexts = 0;
  for (int n = 0; n < SoftFace::kCount; ++n) {
    for (const auto& [term, taiwan] : terms) {
      if (simplified[n].find(term) == std::string::npos) continue;
      EXPECT_NE(traditional[n].find(taiwan), std::string::npos) << n << ": " << traditional[n];
    }
    for (const char* form : wrong) {
      EXPECT_EQ(traditional[n].find(form), std::string::npos) << n << ": " << traditional[n];
    }
    if (traditional[n].find("頻道") != std::string::npos) ++channelTexts;
  }
  EXPECT_GT(channelTexts, 10);
}

TEST(SoftFace, AnInvalidLanguageBuildsEnglish) {
  const SoftFace face = SoftFace::Build(9);
  EXPECT_EQ(face.language(), 3);
  EXPECT_EQ(face[16], "TQ-474 Radio Software");
  EXPECT_EQ(SoftFace::Build(0)[70], "Notice");
}

TEST(SoftFace, NumbersOutsideTheTableGiveEmptyText) {
  for (int language : {1, 2, 3}) {
    const SoftFace face = SoftFace::Build(language);
    for (int n : {-1, 501, -32768, 100000}) EXPECT_EQ(face[n], "") << language << ": " << n;
  }
}

}  // namespace
}  // namespace tq
