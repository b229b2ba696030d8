// Arbitrary bytes opened as a data file the way Open does (the file is read, shifted and decoded
// into channels, model, band and options), then saved. Properties:
//   - only an empty file is refused, with a report, and a refused file changes nothing;
//   - an opened file always gives a whole image and a save of DatNum + 1 bytes;
//   - the bytes past the first kilobyte, which nothing decodes, reach the saved file unchanged
//     (and a short file's missing end is saved as erased bytes, 0xFF);
//   - the saved file is settled: opening it and saving again gives the same bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "session/session.h"
#include "support/fuzz_support.h"
#include "support/started_program.h"
#include "support/temp_folder.h"

namespace {

using tq::fuzzing::Require;

// File offsets from here on hold image bytes that are carried, never interpreted.
constexpr std::size_t kCarriedFrom = 0x0410;

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  const std::string text = tq::testing::TempFolder::Read(path);
  return {text.begin(), text.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  // An open replaces every piece of data the file holds (image, channels, model, band, options),
  // so what one input leaves in the shared session does not reach the next.
  tq::fuzzing::StartedProgram& program = tq::fuzzing::SharedProgram();
  const tq::testing::TempFolder& home = program.home;
  tq::Session& doc = program.doc;
  tq::ErrorReport& report = program.report;
  // Each file is written fresh: ext4 flushes a file that replaces another one to disk at once,
  // which would make the run wait for the disk.
  for (const char* name : {"input.dat", "first.dat", "second.dat"}) {
    std::filesystem::remove(home / name);
  }
  const std::filesystem::path input = home.WriteBytes("input.dat", {data, data + size});
  const std::size_t reportLines = report.lines().size();
  const tq::MemoryImage before = doc.Image();
  const std::filesystem::path pathBefore = doc.CurrentDataPath();

  if (!doc.OpenDataFile(input)) {
    Require(size == 0, "only an empty data file is refused");
    Require(report.lines().size() == reportLines + 2 &&
                report.lines().back().find("mdifrmMain->OpenFile") != std::string::npos,
            "a refused file is reported once");
    Require(doc.Image() == before, "a refused file leaves the image");
    Require(doc.CurrentDataPath() == pathBefore, "a refused file leaves the data file's path");
    return 0;
  }
  Require(doc.CurrentDataPath() == input, "the opened file becomes the data file");
  Require(doc.Image().size() == before.size(), "an opened file gives a whole image");

  const std::filesystem::path first = home / "first.dat";
  Require(doc.SaveAs(first), "the opened data save");
  const std::vector<uint8_t> saved = FileBytes(first);
  Require(saved.size() == before.size(), "a save writes DatNum + 1 bytes");
  for (std::size_t k = kCarriedFrom; k < saved.size(); ++k) {
    Require(saved[k] == (k < size ? data[k] : 0xFF),
            "bytes past the first kilobyte are carried unchanged, a short file's end erased");
  }

  const std::filesystem::path second = home / "second.dat";
  Require(doc.OpenDataFile(first), "a saved file opens");
  Require(doc.SaveAs(second), "the reopened data save");
  Require(FileBytes(second) == saved, "open and save of a saved file gives the same bytes");
  return 0;
}
