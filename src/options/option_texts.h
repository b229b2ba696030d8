// What the user sees of each option slot: its caption and the texts of its list, in the
// interface language. The options frame shows them; a comparison of two images names them.
#pragma once

#include <string>
#include <vector>

namespace tq {

class SoftFace;

// The message number of slot's caption.
int OptionCaptionNumber(int slot);
// The texts of slot's list; empty for the check-box slots (6, 7, 8, 15).
std::vector<std::string> OptionItemTexts(int slot, const SoftFace& texts);
// The text a value of slot shows: its list text, "On" or "Off" for a check box (English where the
// language has no text); a value beyond the list shows as its number.
std::string OptionValueText(int slot, int value, const SoftFace& texts);

}  // namespace tq
