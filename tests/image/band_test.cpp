#include "image/band.h"

#include <gtest/gtest.h>

#include "image/memory_image.h"

namespace tq {
namespace {

std::vector<uint8_t> BandBytes(const MemoryImage& image) {
  return {image.at(0x037A), image.at(0x037B), image.at(0x037C), image.at(0x037D)};
}

TEST(BandInImage, SelectedBandsWriteTheirBcdLimits) {
  MemoryImage image;
  WriteBandToImage(BandOfPosition(0), image);
  EXPECT_EQ(BandBytes(image), (std::vector<uint8_t>{0x13, 0x60, 0x17, 0x40}));
  WriteBandToImage(BandOfPosition(4), image);
  EXPECT_EQ(BandBytes(image), (std::vector<uint8_t>{0x24, 0x50, 0x24, 0x60}));
  // A custom band of 136.00001 to 174 MHz rounds to 0.1 MHz units.
  WriteBandToImage(BandLimits{13600001, 17400000}, image);
  EXPECT_EQ(BandBytes(image), (std::vector<uint8_t>{0x13, 0x60, 0x17, 0x40}));
}

TEST(BandInImage, EveryListedBandIsFoundAgainInTheImage) {
  for (int p = 0; p < 11; ++p) {
    MemoryImage image;
    WriteBandToImage(BandOfPosition(p), image);
    BandLimits limits{};
    const int found = BandFromImage(image, limits);
    // Positions 1 and 2 differ from 0, so each position is found as itself.
    EXPECT_EQ(found, p);
    EXPECT_EQ(limits, BandOfPosition(p));
  }
}

TEST(BandInImage, UnknownLimitsSelectCustomWith120To520AndLeaveTheBytes) {
  MemoryImage image;
  image.set(0x037A, 0x40);
  image.set(0x037B, 0x00);
  image.set(0x037C, 0x48);
  image.set(0x037D, 0x00);
  BandLimits limits{};
  EXPECT_EQ(BandFromImage(image, limits), kCustomBand);
  EXPECT_EQ(limits, (BandLimits{12000000, 52000000, 12000000, 55000000}));
  EXPECT_EQ(BandBytes(image), (std::vector<uint8_t>{0x40, 0x00, 0x48, 0x00}));

  image.set(0x037C, 0x47);
  EXPECT_EQ(BandFromImage(image, limits), 5);
  EXPECT_EQ(limits.lower, 40000000);
  EXPECT_EQ(limits.upper, 47000000);
}

TEST(BandInImage, ErasedBytesReadAsCustom) {
  MemoryImage image;
  for (int a = 0x037A; a <= 0x037D; ++a) image.set(a, 0xFF);
  BandLimits limits{};
  EXPECT_EQ(BandFromImage(image, limits), kCustomBand);
}

TEST(ModelInImage, AnUnknownModelBecomesModelZeroInTheImage) {
  MemoryImage image;
  image.set(0x0379, 5);
  EXPECT_EQ(ModelFromImage(image), 0);
  EXPECT_EQ(image.at(0x0379), 0);
  image.set(0x0379, 0);
  EXPECT_EQ(ModelFromImage(image), 0);
}

}  // namespace
}  // namespace tq
