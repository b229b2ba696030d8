// Squelch tones: the fixed list of 261 tone texts (off, 50 CTCSS, 105 DCS normal, 105 DCS
// inverted), the 16-bit tone word stored in the image, and the normalisation of typed tones.
//
//   tone            word                       bytes (low, high)
//   off             0xFFFF                     FF FF
//   CTCSS f Hz      f x 10                     67.0 -> 9E 02
//   DCS d1d2d3 N    0x2800 + octal value       D023N -> 13 28
//   DCS d1d2d3 I    0xA800 + octal value       D023I -> 13 A8
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tq {

inline constexpr int kToneCount = 261;  // tone indexes 0 to 260
inline constexpr int kCtcssCount = 50;  // indexes 1 to 50
inline constexpr int kDcsCount = 105;   // normal 51 to 155, inverted 156 to 260

// The off text of a language: "无" (1), "無" (2), "None" (3 and any other value).
std::string ToneOffText(long long language);

class ToneTable {
 public:
  // Builds the tone list with the off text of `language` (GenCtdcsList).
  explicit ToneTable(long long language);

  const std::string& OffText() const noexcept { return offText_; }
  // The 261 tone texts in tone-index order, the off text first.
  const std::vector<std::string>& List() const noexcept { return list_; }
  // The text of tone index `index`; throws Failure 9 outside 0 to 260.
  const std::string& Text(int index) const;

  // The tone text of a stored word, given as (high byte, low byte).
  std::string QtDqtIicToChar(uint8_t high, uint8_t low) const;
  // The stored bytes (low, high) of a canonical tone text; the off text and "" give FF FF.
  std::pair<uint8_t, uint8_t> QtDqtCharToIic(std::string_view text) const;
  // Turns what the user typed into a canonical tone text; an entry that fits no form becomes
  // the off text. A number too large for 32 bits after multiplying by ten throws Failure 6.
  std::string Normalise(std::string_view typed) const;

 private:
  std::string offText_;
  std::vector<std::string> list_;
};

// The three text lists of the tone list (GetCtdcsArray).
const std::vector<std::string>& CtcssTexts();        // "67.0" ... "254.1"
const std::vector<std::string>& DcsNormalTexts();    // "D023N" ... "D754N"
const std::vector<std::string>& DcsInvertedTexts();  // "D023I" ... "D754I"

}  // namespace tq
