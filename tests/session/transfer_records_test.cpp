#include "session/transfer_records.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

TEST(TransferRecords, PruningKeepsTheNewestBackupsAndNothingElseIsTouched) {
  TempFolder folder;
  for (const char* name :
       {"20261201-080000-read-0000-1FFF.bin", "20261202-080000-read-0000-1FFF.bin",
        "20261203-080000-before-write-0000-03FF.bin", "20261204-080000-read-0000-1FFF.bin",
        "notes.txt", "radio.bin"}) {
    folder.Write(name, "x");
  }
  PruneBackups(folder.path(), 2);
  std::vector<std::string> left;
  for (const auto& e : std::filesystem::directory_iterator(folder.path())) {
    left.push_back(e.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"20261203-080000-before-write-0000-03FF.bin",
                                            "20261204-080000-read-0000-1FFF.bin", "notes.txt",
                                            "radio.bin"}));
}

TEST(TransferRecords, ALogLineHoldsEveryKeyWithNullsForWhatIsMissing) {
  TransferLogEntry entry;
  entry.start.tm_year = 2026 - 1900;
  entry.start.tm_mon = 11;
  entry.start.tm_mday = 6;
  entry.start.tm_hour = 9;
  entry.start.tm_gmtoff = 3600;
  entry.ms = 8700;
  entry.kind = "write";
  entry.port = "3";
  entry.device = "/dev/ttyUSB0";
  entry.rangeEnd = 0x1FFF;
  entry.message = 79;
  entry.retries = 2;
  entry.sha256 = "ab";
  EXPECT_EQ(TransferLogLine(entry),
            "{\"start\":\"2026-12-06T09:00:00+01:00\",\"ms\":8700,\"kind\":\"write\",\"port\":"
            "\"3\",\"device\":\"/dev/ttyUSB0\",\"range\":\"0000-1FFF\",\"ok\":false,\"message\":79,"
            "\"retries\":2,\"sha256\":\"ab\",\"backup\":null,\"verify\":null}");
}

}  // namespace
}  // namespace tq
