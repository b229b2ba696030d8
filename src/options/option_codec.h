// The sixteen radio-wide options: their values OptSel and defaults OptDef, their bytes in the
// image and their copies in section "Option" of the settings file.
//
//   slot  option                 address      stored            loaded           range
//   0     time-out timer         0x0130       value             byte             0..20
//   1     squelch                0x0134       value             byte             0..9
//   2     volume                 0x03FF       value             byte             0..15
//   3     voice annunciation     0x012F       value             byte             0..2
//   4     broadcast squelch      0x03F6       value + 0x86      byte - 0x86      0..32
//   5     broadcast volume       0x03F7       value             byte & 0x0F      -
//   6     battery save           0x0135       value             bit 0            -
//   7     beep                   0x0136       value             bit 0            -
//   8     emergency alarm        0x03FC bit 7 bit 7 only        bit 7            -
//   9     voice chip             0x03FE b0-1  never written     00:0 10:2 else 1 -
//   10    crystal                0x03D8/D3    never written     detection        -
//   11    TOT pre-alert          0x0131       value             byte             0..10
//   12    VOX gain               0x013A       value             byte             0..10
//   13    VOX delay              0x013B       value             byte             0..5
//   14    VOX inhibit on receive 0x0138       value             byte             0..1
//   15    low-battery transmit   0x03FE bit 2 bit 2 only        bit 2            0..1
//
// A loaded byte out of its range takes the slot's default from OptDef.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tq {

class MemoryImage;
class SettingsFile;
class ErrorReport;

inline constexpr int kOptionSlots = 100;
inline constexpr int kOptionCount = 16;

struct OptionValues {
  std::array<int16_t, kOptionSlots> OptSel{};
  std::array<int16_t, kOptionSlots> OptDef{};
};

// Writes slots 0-8 and 11-15 into the image (OptSelToSave). A value that does not fit a byte
// throws Failure 6; the bytes written before it stay written.
void OptSelToSave(const OptionValues& values, MemoryImage& image);

// A byte of the radio's own parameter block as an older radio gets it back at the end of a write:
// `radioValue` as the radio reported it, with the emergency alarm (0x03FC bit 7) and the
// low-battery transmit (0x03FE bit 2) bits set from the option values; other addresses unchanged.
uint8_t WithOptionBits(int address, uint8_t radioValue, const OptionValues& values);

// Reads all sixteen slots from the image with their range checks (SaveToOptSel).
void SaveToOptSel(const MemoryImage& image, OptionValues& values);

// Direction 0 saves into the image, 1 loads from it, anything else does nothing.
void OptSelSaveSol(int direction, OptionValues& values, MemoryImage& image);

// The crystal slot value found in the image: 0x03D8 first, then the top bits of 0x03D3.
int16_t DetectCrystal(const MemoryImage& image);

// Keeps option values in section "Option" (OptNowDefSol): mode 0 loads defaults and current
// values, 1 stores the current values, 2 resets them to the defaults and stores them, 3 makes
// them the new defaults. An invalid language becomes 3 (in `language` too). A value that is
// not a number, or more than 100 slots, throws Failure; what was done before stays done.
void OptNowDefSol(int mode, int16_t& language, OptionValues& values, const SettingsFile& settings);

// The highest list index of each option's control (1 for the check boxes).
extern const std::array<int16_t, kOptionCount> kOptionMax;

// The out-of-range note of a combo-box slot as the option set-up adds it to the error list;
// empty for the check-box slots (6, 7, 8, 15).
const std::string& OptionOutOfRangeText(int slot);

// The list index the option set-up selects for `slot`: the OptSel value when it is within the
// list, otherwise the OptDef value after adding the slot's note to `report`; -1 selects nothing.
int16_t OptionShownIndex(int slot, const OptionValues& values, ErrorReport& report);

}  // namespace tq
