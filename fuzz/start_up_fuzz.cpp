// Arbitrary settings files through start-up. Start-up must either succeed or report why it
// stopped, never crash; and what it writes back must settle the file: a second start-up over the
// file the first one left gives the same preferences, data and reports, and writes nothing more.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "comm/port_control.h"
#include "session/session.h"
#include "support/fake_link.h"
#include "support/fuzz_support.h"
#include "support/temp_folder.h"

namespace {

using tq::fuzzing::Require;

// The windows' part of start-up on an English system whose only serial device is the one the
// default port table gives COM2; the ports are probed by the program's own port control, which
// stores the port it finds, over a link that opens only that device.
class EnglishSystem final : public tq::SessionWindows {
 public:
  EnglishSystem(const tq::Session& doc, tq::ErrorReport& report)
      : port_(link_, doc.Settings(), report) {}
  int SystemLocale() override { return 0x0409; }
  bool TestComPort(int16_t port) override {
    port_.TestComPort(port);
    return port_.PortFlag[static_cast<std::size_t>(port - 1)] == 1;
  }
  int16_t AutoSetPort() override { return port_.AutoSetPort(); }
  void CheckLanguageMenu(int16_t) override {}
  void SetSoftFace() override {}
  void InitChannelWindow() override {}
  void SetGridMemDat() override {}
  void ShowChannelWindow() override {}
  void OpenCustomRange() override {}

 private:
  tq::testing::DeviceTableLink link_{{tq::DefaultPortDevice(2)}};
  tq::PortControl port_;
};

// Everything a start-up settles: its outcome, the preferences, the layout and the data.
struct Outcome {
  bool started = false;
  std::vector<std::string> reports;
  int16_t language = 0;
  std::string fontName;
  int16_t comPort = 0;
  bool locked = false;
  int32_t defColor = 0;
  int32_t overColor = 0;
  std::array<std::string, 5> addressTexts;
  std::array<int16_t, 5> addressValues{};
  int16_t fillStart = 0;
  std::optional<int16_t> fillEnd;
  int16_t chCount = 0;
  int16_t rowHeight = 0;
  int16_t colCount = 0;
  std::string format;
  std::vector<int32_t> widths;
  std::vector<std::vector<std::string>> fieldTexts;
  std::array<int16_t, tq::kOptionSlots> optSel{};
  std::array<int16_t, tq::kOptionSlots> optDef{};
  tq::MemoryImage image;
  tq::MemoryImage templ;
  int modelPosition = 0;
  int bandPosition = 0;
  tq::BandLimits band;
  std::string offText;

  bool operator==(const Outcome&) const = default;
};

Outcome StartUp(const std::filesystem::path& home) {
  tq::ErrorReport report = tq::fuzzing::FixedTimeReport();
  tq::Session doc(home, report);
  EnglishSystem windows(doc, report);
  Outcome out;
  out.started = doc.StartUp(&windows);
  out.reports = report.lines();
  Require(out.started != tq::fuzzing::Mentions(report, "mdifrmMain->Form_Load"),
          "a start-up that stops reports it, one that goes through does not");
  out.language = doc.Language();
  out.fontName = doc.FontName();
  out.comPort = doc.ComPort();
  out.locked = doc.Locked();
  out.defColor = doc.DefColor();
  out.overColor = doc.OverColor();
  for (const tq::AddressBox box : tq::kAddressBoxes) {
    out.addressTexts[static_cast<std::size_t>(box)] = doc.AddressText(box);
    out.addressValues[static_cast<std::size_t>(box)] = doc.AddressValue(box);
  }
  out.fillStart = doc.FillAddresses().start;
  out.fillEnd = doc.FillAddresses().end;
  const tq::ChannelLayout& layout = doc.Layout();
  out.chCount = layout.ChCount;
  out.rowHeight = layout.rowHeight;
  out.colCount = layout.ColCount;
  out.format = layout.format;
  out.widths = layout.widths;
  out.fieldTexts = layout.fieldTexts;
  out.optSel = doc.Options().OptSel;
  out.optDef = doc.Options().OptDef;
  out.image = doc.Image();
  out.templ = doc.Template();
  out.modelPosition = doc.ModelPosition();
  out.bandPosition = doc.BandPosition();
  out.band = doc.Band();
  out.offText = doc.Tones().OffText();
  return out;
}

// The program's folder with the shipped default image; the settings file is each input.
const tq::testing::TempFolder& Home() {
  static const tq::testing::TempFolder home;
  static const bool prepared = [] {
    std::filesystem::copy_file(std::filesystem::path(TQ474_PROGRAM_DIR) / tq::kDefaultImageFileName,
                               home / tq::kDefaultImageFileName);
    return true;
  }();
  (void)prepared;
  return home;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const tq::testing::TempFolder& home = Home();
  const std::filesystem::path settings = home / tq::kSettingsFileName;
  // Written fresh: ext4 flushes a file that replaces another one to disk at once.
  std::filesystem::remove(settings);
  home.Write(tq::kSettingsFileName, std::string(data, data + size));

  const Outcome first = StartUp(home.path());
  const std::string settled = tq::testing::TempFolder::Read(settings);
  const Outcome second = StartUp(home.path());
  Require(second == first, "a second start-up gives the same preferences, data and reports");
  Require(tq::testing::TempFolder::Read(settings) == settled,
          "a second start-up leaves the settings file as the first one left it");
  return 0;
}
