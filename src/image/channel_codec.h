// The channel record codec between the image and the channel table.
//
//   record offset  content
//   0-3            receive frequency, 8 BCD digits in 10 Hz units, least significant byte
//                  first (146.52500 MHz: 00 25 65 14); FF FF FF FF = none
//   4-7            transmit frequency, same form
//   8-9            receive tone word, little-endian
//   10-11          transmit tone word, little-endian
//   12             bits 3-4: field 8 (0x08 = 1, 0x10 = 2, neither or both = 0)
//   13             bit 5: field 5; bit 4: field 6
//   14-15          not interpreted
//   flag word      0x0170 (low) / 0x0171 (high): bit n - 1 is field 7 of channel n
//
// Every bit the codec does not own passes through a decode and encode unchanged.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "image/channel_table.h"

namespace tq {

class ToneTable;

// The set and clear masks of the channel flag word for bit i (0 to 15); Failure 9 outside.
uint16_t FlagSetMask(int i);
uint16_t FlagClearMask(int i);

// Decodes channels 1 to ChCount (IicDatToChInfo); per-routine failures are reported under their
// "modChMem->..." labels and decoding goes on with the next routine or channel.
void IicDatToChInfo(const MemoryImage& image, const ChannelLayout& layout, const ToneTable& tones,
                    ChannelTable& table, ErrorReport& report);

// Encodes channel n's row into its record, each routine reporting its own failure; throws
// Failure when n is not a channel the image holds.
void EncodeChannel(int n, const ChannelRow& row, const ToneTable& tones, MemoryImage& image,
                   ErrorReport& report);

// Encodes channels 1 to ChCount (ChInfoToIicDat), reporting like the decoder.
void ChInfoToIicDat(const ChannelTable& table, const ChannelLayout& layout, const ToneTable& tones,
                    MemoryImage& image, ErrorReport& report);

// Mode 0 encodes, mode 1 decodes, any other mode does nothing.
void ChInfoSaveSol(int mode, ChannelTable& table, const ChannelLayout& layout,
                   const ToneTable& tones, MemoryImage& image, ErrorReport& report);

// The four BCD bytes, most significant first, of the decimal text of a frequency
// ("14652500" gives 14 65 25 00). Throws Failure 13 on a pair that is not hexadecimal.
std::array<uint8_t, 4> SeparateFreChar(std::string_view text);

}  // namespace tq
