// The interface text table: message numbers 0 to 500, filled once per run for the language.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tq {

inline constexpr int16_t kLangSimplifiedChinese = 1;
inline constexpr int16_t kLangTraditionalChinese = 2;
inline constexpr int16_t kLangEnglish = 3;

// Any language value other than 1, 2 or 3 is taken as 3 (English).
int16_t NormaliseLanguage(long long value) noexcept;

class SoftFace {
 public:
  static constexpr int kCount = 501;

  // Builds the table for `language` after normalising it.
  static SoftFace Build(long long language);

  // The text of message `number`; empty for a number outside 0 to 500.
  const std::string& operator[](int number) const noexcept;
  int16_t language() const noexcept { return language_; }

 private:
  std::array<std::string, kCount> texts_{};
  int16_t language_ = kLangEnglish;
};

// The English table, built once.
const SoftFace& EnglishTexts();
// The text of message `number` in `texts`, or the English text when that language has none.
const std::string& TextOrEnglish(const SoftFace& texts, int number);

}  // namespace tq
