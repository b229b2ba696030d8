// What differs between two data sets, in the user's terms: the model and the band, each channel
// field by field as the channel grid shows it, each option by its caption and item text, and
// then every other differing byte as address ranges with the old and new bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/band.h"
#include "image/channel_table.h"
#include "image/memory_image.h"
#include "options/option_codec.h"

namespace tq {

class Session;

// One side of a comparison: the bytes as the file or radio holds them and what they decode to.
struct DiffSide {
  MemoryImage image;
  ChannelTable channels;
  OptionValues options;
  BandLimits band;
  int bandPosition = 0;
};

// The side of a session as it stands: `image` is the bytes it holds (or would save).
DiffSide SideOf(const Session& session, MemoryImage image);

struct FieldChange {
  int column = 0;  // the grid column of a channel field (1 to ColCount); 0 for model and band
  std::string name;
  std::string before;
  std::string after;
  bool operator==(const FieldChange&) const = default;
};

struct ChannelChange {
  int number = 0;
  std::vector<FieldChange> fields;
};

struct OptionChange {
  int slot = 0;
  std::string name;
  int before = 0;
  int after = 0;
  std::string beforeText;
  std::string afterText;
};

// A run of consecutive differing bytes that no field above accounts for.
struct ByteChange {
  int start = 0;
  std::vector<uint8_t> before;
  std::vector<uint8_t> after;
};

struct ImageDiff {
  std::string channelWord = "CH";  // the title of the grid's channel column
  std::optional<FieldChange> model;
  std::optional<FieldChange> band;
  std::vector<ChannelChange> channels;
  std::vector<OptionChange> options;
  std::vector<ByteChange> bytes;
  bool Equal() const {
    return !model && !band && channels.empty() && options.empty() && bytes.empty();
  }
};

// Which texts a comparison uses: the running language's as the windows show them, or the ones
// scripts read (the tone off text always "None").
enum class DiffTexts { Display, Script };

// Compares `before` with `after`, naming fields and items with `session`'s layout, tones and
// texts. A byte is listed raw only when it differs and what the fields above changed does not
// make it equal.
ImageDiff CompareSides(const DiffSide& before, const DiffSide& after, const Session& session,
                       DiffTexts texts = DiffTexts::Display);

// The comparison as lines of text in `language`, "" when the sides are equal.
std::string DiffText(const ImageDiff& diff, int16_t language);
// What the program shows when the sides are equal, in `language`.
std::string NoDifferencesText(int16_t language);
// The comparison as one JSON object.
std::string DiffJson(const ImageDiff& diff);

// A frequency in 10 Hz units as megahertz with five decimals ("146.52500"); "-" for none.
std::string MegahertzText(int32_t value);

}  // namespace tq
