#include "options/option_texts.h"

#include <array>

#include "base/text_table.h"
#include "options/option_codec.h"

namespace tq {
namespace {

constexpr int kTotStepSeconds = 15;

constexpr std::array<int, kOptionCount> kCaptions = {233, 217, 239, 226, 240, 241, 327, 328,
                                                     293, 315, 326, 330, 333, 336, 346, 351};

std::vector<std::string> Numbers(int first, int last) {
  std::vector<std::string> list;
  for (int n = first; n <= last; ++n) list.push_back(std::to_string(n));
  return list;
}

}  // namespace

int OptionCaptionNumber(int slot) {
  return kCaptions.at(static_cast<std::size_t>(slot));
}

std::vector<std::string> OptionItemTexts(int slot, const SoftFace& t) {
  const auto texts = [&t](int first, int last) {
    std::vector<std::string> list;
    for (int n = first; n <= last; ++n) list.push_back(t[n]);
    return list;
  };
  const auto with = [](std::string first, std::vector<std::string> rest) {
    rest.insert(rest.begin(), std::move(first));
    return rest;
  };
  switch (slot) {
    case 0: {
      std::vector<std::string> list = {t[234]};
      for (int k = 1; k <= 20; ++k) list.push_back(std::to_string(kTotStepSeconds * k) + t[238]);
      return list;
    }
    case 1:
      return Numbers(0, 9);
    case 2:
    case 5:
      return Numbers(0, 15);
    case 3:
      return texts(227, 229);
    case 4:
      return Numbers(0, 32);
    case 9:
      return texts(316, 317);
    case 10:
      return texts(320, 323);
    case 11:
      return with(t[331], Numbers(1, 10));
    case 12:
      return with(t[334], Numbers(1, 10));
    case 13:
      return texts(337, 342);
    case 14:
      return texts(347, 348);
    default:
      return {};
  }
}

std::string OptionValueText(int slot, int value, const SoftFace& texts) {
  const std::vector<std::string> items = OptionItemTexts(slot, texts);
  if (items.empty() && (value == 0 || value == 1)) {  // a check box: off or on
    return TextOrEnglish(texts, value == 1 ? 221 : 220);
  }
  if (value >= 0 && static_cast<std::size_t>(value) < items.size()) {
    const std::string& item = items[static_cast<std::size_t>(value)];
    return item.empty() ? OptionValueText(slot, value, EnglishTexts()) : item;
  }
  return std::to_string(value);
}

}  // namespace tq
