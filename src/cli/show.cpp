// Printing a data set: the readable table and the JSON object scripts read.
#include <array>
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "base/json_text.h"
#include "base/message_numbers.h"
#include "base/text_table.h"
#include "cli/commands.h"
#include "image/stamp.h"
#include "options/option_texts.h"
#include "session/image_diff.h"
#include "session/session.h"

namespace tq::cli {
namespace {

// Tone texts as scripts see them: the off text is always the English "None".
std::string ScriptTone(const tq::Session& session, const std::string& tone) {
  return tone == session.Tones().OffText() ? "None" : tone;
}

}  // namespace

void PrintJson(const tq::Session& session) {
  std::ostringstream out;
  out << "{\"model\": " << static_cast<int>(session.Image().at(tq::kModelAddress))
      << ", \"band\": {\"lower\": " << session.Band().lower
      << ", \"upper\": " << session.Band().upper << ", \"position\": " << session.BandPosition()
      << "}, \"channels\": [";
  for (int n = 1; n <= 16; ++n) {
    const tq::ChannelRow& row = session.Channels()[n];
    if (n > 1) out << ", ";
    out << "{\"number\": " << n << ", \"rx\": " << row.field[1] << ", \"tx\": " << row.field[2]
        << ", \"rx_tone\": " << JsonString(ScriptTone(session, row.rxTone))
        << ", \"tx_tone\": " << JsonString(ScriptTone(session, row.txTone)) << ", \"fields\": {";
    for (int f = 5; f <= session.Layout().ColCount && f < tq::kFieldCount; ++f) {
      if (f > 5) out << ", ";
      out << "\"" << f << "\": " << row.field[static_cast<std::size_t>(f)];
    }
    out << "}}";
  }
  out << "], \"options\": [";
  for (int k = 0; k < tq::kOptionCount; ++k) {
    if (k > 0) out << ", ";
    out << session.Options().OptSel[static_cast<std::size_t>(k)];
  }
  out << "], \"stamp\": [";
  const char* separator = "";
  for (const uint8_t byte : tq::StampBytes(session.Image())) {
    out << separator << static_cast<int>(byte);
    separator = ", ";
  }
  out << "]}\n";
  std::cout << out.str();
}

void PrintTable(const tq::Session& session) {
  const auto text = [&](int number) { return tq::TextOrEnglish(session.Texts(), number); };
  std::printf("File:   %s\n", session.CurrentDataPath().string().c_str());
  std::printf("Model:  %d (%s)\n", session.Image().at(tq::kModelAddress),
              text(tq::msg::kModelName).c_str());
  const std::string bandName =
      session.BandPosition() == tq::kCustomBand
          ? text(tq::msg::kCustomBand)
          : tq::kBandList[static_cast<std::size_t>(session.BandPosition())].text;
  std::printf("Band:   %s (%s - %s MHz)\n\n", bandName.c_str(),
              MegahertzText(session.Band().lower).c_str(),
              MegahertzText(session.Band().upper).c_str());
  // Parameter columns take their titles from the layout's header format.
  std::vector<std::string> titles;
  std::string title;
  std::istringstream format(session.Layout().format);
  while (std::getline(format, title, '|')) titles.push_back(title);
  std::printf("%-3s %-10s %-10s %-7s %-7s", "CH", "Rx MHz", "Tx MHz", "Rx tone", "Tx tone");
  for (int f = 5; f <= session.Layout().ColCount && f < tq::kFieldCount; ++f) {
    const auto column = static_cast<std::size_t>(f);
    std::printf(" %-10s", column < titles.size() ? titles[column].c_str() : "");
  }
  std::printf("\n");
  for (int n = 1; n <= 16; ++n) {
    const tq::ChannelRow& row = session.Channels()[n];
    if (row.field[1] < 0) {  // an empty channel shows nothing, as in the channel grid
      std::printf("%-3d -\n", n);
      continue;
    }
    std::printf("%-3d %-10s %-10s %-7s %-7s", n, MegahertzText(row.field[1]).c_str(),
                MegahertzText(row.field[2]).c_str(), ScriptTone(session, row.rxTone).c_str(),
                row.field[2] < 0 ? "" : ScriptTone(session, row.txTone).c_str());
    for (int f = 5; f <= session.Layout().ColCount && f < tq::kFieldCount; ++f) {
      const int32_t v = row.field[static_cast<std::size_t>(f)];
      const std::string item =
          v >= 0 && v <= 46 ? session.Layout().FieldText(f, 3 + v) : std::string();
      std::printf(" %-10s", (item.empty() ? std::to_string(v) : item).c_str());
    }
    std::printf("\n");
  }
  std::printf("\nOptions:\n");
  for (int k = 0; k < tq::kOptionCount; ++k) {
    std::printf("  %-24s %d\n", text(tq::OptionCaptionNumber(k)).c_str(),
                session.Options().OptSel[static_cast<std::size_t>(k)]);
  }
  const std::array<uint8_t, tq::kStampLength> stamp = tq::StampBytes(session.Image());
  std::printf("\nLast write: %02X %02X %02X %02X %02X\n", stamp[0], stamp[1], stamp[2], stamp[3],
              stamp[4]);
}

// Lines of the error list go to stderr so that stdout stays clean for scripts.
void FlushReport(const tq::ErrorReport& report) {
  for (const std::string& line : report.lines()) std::cerr << line << "\n";
}

}  // namespace tq::cli
