#include "files/data_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "base/failure.h"
#include "image/memory_image.h"
#include "support/temp_folder.h"

namespace tq {
namespace {

using testing::TempFolder;

MemoryImage PatternImage(unsigned seed) {
  MemoryImage image;
  std::mt19937 random(seed);
  for (auto& byte : image.bytes()) byte = static_cast<uint8_t>(random());
  return image;
}

TEST(DataFileFormat, ShiftsTheFirstKilobyteBehindTheFiller) {
  MemoryImage image = PatternImage(1);
  image.set(0x0000, 0xA0);
  image.set(0x0010, 0x11);  // first byte of channel 1
  image.set(0x03FF, 0x3F);
  image.set(0x0400, 0x40);  // has no place in the file
  image.set(0x0410, 0x41);
  const std::vector<uint8_t> file = DataFileBytes(image);
  ASSERT_EQ(file.size(), 8192u);
  EXPECT_EQ(file[0x0000], 0xA0);
  for (std::size_t k = 0x0010; k <= 0x001F; ++k) EXPECT_EQ(file[k], 0xFF) << k;
  EXPECT_EQ(file[0x0020], 0x11);
  EXPECT_EQ(file[0x040F], 0x3F);
  EXPECT_EQ(file[0x0410], 0x41);
  EXPECT_EQ(file[0x1FFF], image.at(0x1FFF));
}

TEST(DataFileRoundTrip, ReproducesTheImageExceptTheUnkeptBlock) {
  TempFolder dir;
  const MemoryImage saved = PatternImage(7);
  const MemoryImage before = saved;
  SaveDataFile(dir / "a.dat", saved);
  EXPECT_EQ(saved, before) << "saving must not change the image";

  MemoryImage loaded = PatternImage(99);
  LoadDataFile(dir / "a.dat", loaded);
  for (int a = 0; a <= 0x1FFF; ++a) {
    if (a >= 0x0400 && a <= 0x040F) {
      EXPECT_EQ(loaded.at(a), saved.at(a - 0x10)) << a;  // image 0x03F0-0x03FF again
    } else {
      EXPECT_EQ(loaded.at(a), saved.at(a)) << a;
    }
  }
}

TEST(DataFileRoundTrip, FillerBytesNeverReachTheImage) {
  TempFolder dir;
  std::vector<uint8_t> file(8192, 0x00);
  for (std::size_t k = 0x10; k < 0x20; ++k) file[k] = 0x5A;
  MemoryImage image;
  LoadDataFile(dir.WriteBytes("f.dat", file), image);
  for (const uint8_t byte : image.bytes()) ASSERT_EQ(byte, 0x00);
}

TEST(DataFileMalformed, ShortFilesReadAsFarAsTheyGoAndTheRestIsErased) {
  TempFolder dir;
  MemoryImage image = PatternImage(3);
  LoadDataFile(dir.WriteBytes("one.dat", {0x42}), image);
  EXPECT_EQ(image.at(0x0000), 0x42);
  for (int a = 1; a <= 0x1FFF; ++a) ASSERT_EQ(image.at(a), 0xFF) << a;
}

TEST(DataFileMalformed, LongFilesAreReadUpToTheImageSize) {
  TempFolder dir;
  std::vector<uint8_t> file(9000, 0x22);
  file[8191] = 0x77;
  MemoryImage image;
  LoadDataFile(dir.WriteBytes("long.dat", file), image);
  EXPECT_EQ(image.at(0x1FFF), 0x77);
}

TEST(DataFileMalformed, EmptyMissingAndFolderPathsFailAndLeaveTheImage) {
  TempFolder dir;
  const MemoryImage original = PatternImage(5);
  std::filesystem::create_directory(dir / "folder.dat");
  const std::vector<std::pair<std::filesystem::path, int>> cases = {
      {dir.WriteBytes("empty.dat", {}), 62},
      {dir / "missing.dat", 53},
      {dir / "folder.dat", 75},
  };
  for (const auto& [path, number] : cases) {
    MemoryImage image = original;
    try {
      LoadDataFile(path, image);
      ADD_FAILURE() << path << " loaded";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.number(), number) << path;
    }
    EXPECT_EQ(image, original) << path;
  }
}

TEST(DataFileSave, AFailedSaveKeepsTheOldFile) {
  TempFolder dir;
  const std::vector<uint8_t> old(8192, 0x33);
  const auto path = dir.WriteBytes("keep.dat", old);
  // Saving into a missing folder fails before anything is replaced.
  EXPECT_THROW(SaveDataFile(dir / "missing" / "x.dat", PatternImage(1)), Failure);
  // Saving over a folder fails too and the folder stays.
  std::filesystem::create_directory(dir / "dir.dat");
  std::filesystem::create_directory(dir / "dir.dat" / "inner");
  EXPECT_THROW(SaveDataFile(dir / "dir.dat", PatternImage(1)), Failure);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "dir.dat" / "inner"));
  EXPECT_EQ(TempFolder::Read(path), std::string(8192, '\x33'));
  // No temporary file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++entries;
  }
  EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace tq

namespace tq {
namespace {

// A save writes through a symbolic link to the file it names, and refuses what is not a regular
// file (a pipe standing for a device here) without replacing it; an open refuses it at once
// instead of waiting for a writer.
TEST(DataFileSave, FollowsLinksAndRefusesWhatIsNotARegularFile) {
  TempFolder folder;
  const MemoryImage image = PatternImage(7);
  const std::filesystem::path real = folder / "real.dat";
  const std::filesystem::path link = folder / "link.dat";
  SaveDataFile(real, PatternImage(8));
  std::filesystem::create_symlink(real, link);
  SaveDataFile(link, image);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  MemoryImage loaded;
  LoadDataFile(real, loaded);
  EXPECT_EQ(DataFileBytes(loaded), DataFileBytes(image));

  const std::filesystem::path pipe = folder / "pipe.dat";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_THROW(SaveDataFile(pipe, image), Failure);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe)) << "the pipe was replaced";
  EXPECT_THROW(LoadDataFile(pipe, loaded), Failure);
  const std::filesystem::path linkToPipe = folder / "pipe-link.dat";
  std::filesystem::create_symlink(pipe, linkToPipe);
  EXPECT_THROW(SaveDataFile(linkToPipe, image), Failure);
  EXPECT_TRUE(std::filesystem::is_fifo(pipe));
}

}  // namespace
}  // namespace tq
