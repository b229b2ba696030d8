// Channels in and out as the generic channel CSV that radio programming tools and spreadsheets
// exchange:
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// Export writes every column, dots as decimal separators, the unused tone columns filled with
// 88.5 / 023 / NN / Tone->Tone as readers expect. Import matches columns by their header, takes
// commas or semicolons, decimal commas, short rows and the usual spellings of power and mode,
// and enters each row through the channel grid's own editing rules (frequencies snapped and kept
// in the radio's range, tones normalised), never by writing image bytes. What a row cannot say
// to this radio is reported with its line, column and reason; the other rows are taken.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tq {

class ChannelData;
class ChannelGrid;
class SettingsFile;

// How the grid's parameter fields map to CSV columns (section "Csv" of the settings file).
struct CsvMapping {
  int modeField = 5;  // bandwidth: items in order, as Mode texts
  std::vector<std::string> modeItems = {"NFM", "FM"};
  int powerField = 6;  // transmit power: the watts of each item
  std::vector<double> powerWatts = {1.0, 5.0};
  int scanField = 7;  // scan list: the item that means "skipped"
  int skipItem = 0;
};

// The mapping from the settings file; keys that are missing or unusable keep the defaults.
CsvMapping ReadCsvMapping(const SettingsFile& settings);

// The header line's columns, in export order.
const std::vector<std::string>& CsvColumns();

// Channels 1 to 16 that are not empty (of `only`, when given), as CSV text with the header (LF
// line ends).
std::string ChannelsToCsv(const ChannelData& data, const CsvMapping& mapping,
                          const std::vector<int>& only = {});

struct CsvProblem {
  int line = 0;  // 1-based line of the file
  std::string column;
  bool refused = true;  // false: the row was taken, with this note
  std::string reason;
};

// One row as the grid is to receive it.
struct CsvChannel {
  int line = 0;
  int location = 0;  // 1 to 16; 0 takes the next free channel
  std::string rx;    // MHz as typed into the grid
  std::string tx;    // "" for a receive-only channel
  std::string rxTone;
  std::string txTone;
  std::vector<std::pair<int, int32_t>> items;  // (grid column, item value)
};

struct CsvRows {
  bool readable = false;  // false: not CSV at all (no Frequency column, not text, too large)
  std::string why;        // why not
  std::vector<CsvChannel> channels;
  std::vector<CsvProblem> problems;
};

// Files larger than this cannot hold sixteen channels of CSV and are refused unread.
inline constexpr std::size_t kCsvMaxBytes = 1 << 20;

// Reads the rows of a CSV text; names item texts with `data`'s layout.
CsvRows ParseChannelCsv(std::string_view text, const ChannelData& data, const CsvMapping& mapping);

// Enters the rows into the channel table through `grid` (built over the same data); rows
// without a location fill the free channels in order. A row that finds no channel, or whose
// transmit frequency lies outside the band, is added to `rows.problems`. The whole import is one
// step for Undo. Returns the channels written.
std::vector<int> EnterCsvChannels(ChannelGrid& grid, ChannelData& data, CsvRows& rows);

// Enters the rows into the channels from `first` on (a paste at the current channel), as one
// step; a row past the last channel is reported.
std::vector<int> PasteCsvChannels(ChannelGrid& grid, ChannelData& data, CsvRows& rows, int first);

// "IN.csv:LINE: column: reason".
std::string CsvProblemText(const std::string& file, const CsvProblem& problem);

}  // namespace tq
