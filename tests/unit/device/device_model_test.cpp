#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "UHex.h"
#include "device_model.h"

namespace {

std::string Ask(sim::DeviceModel& model, const std::string& spaced) {
  std::vector<std::string> answers = model.Answer(uhex::SpacedHexToBytes(spaced));
  std::string text;
  for (const std::string& a : answers) text += uhex::BytesToSpacedHex(a) + "| ";
  return text;
}

TEST(DeviceModel, ReadsInThreeFormsAndRefusesBeyondMemory) {
  sim::DeviceModel model;
  EXPECT_EQ(Ask(model, "03 02 AD 03"), "03 AC 03 80 | ");
  EXPECT_EQ(Ask(model, "04 02 AD 04 00"), "04 AC 04 00 31 | ");
  EXPECT_EQ(Ask(model, "05 02 AD 80 00 00"),
            "13 AC 80 00 55 AA 5A 45 4C 54 2D 32 20 47 53 4D 3A 20 49 4E | ");
  EXPECT_EQ(Ask(model, "04 02 AD 00 20"), "02 92 AD | ");
  EXPECT_EQ(Ask(model, "05 02 AD F8 1F 00"), "02 92 AD | ");
  EXPECT_EQ(Ask(model, "05 02 AD F0 1F 00").substr(0, 12), "13 AC F0 1F ");
  // Not for this device, or a miscounted record: no answer at all.
  EXPECT_EQ(Ask(model, "03 05 AD 03"), "");
  EXPECT_EQ(Ask(model, "04 02 AD 03"), "");
}

TEST(DeviceModel, WritesOnlyBetweenOpenAndClose) {
  sim::DeviceModel model;
  EXPECT_EQ(Ask(model, "04 02 6F 40 11"), "02 92 6F | ");
  EXPECT_EQ(Ask(model, "02 02 B1"), "02 92 B1 | ");
  EXPECT_EQ(Ask(model, "02 02 B0"), "02 42 B0 | ");
  EXPECT_EQ(Ask(model, "04 02 6F 40 11"), "02 42 6F | ");
  EXPECT_EQ(Ask(model, "05 02 6F 00 10 22"), "02 42 6F | ");
  EXPECT_EQ(Ask(model, "0D 02 6F 10 00 01 21 43 F5 FF FF FF FF FF"), "02 42 6F | ");
  EXPECT_EQ(Ask(model, "05 02 6F FF 1F 01"), "02 42 6F | ");
  EXPECT_EQ(Ask(model, "06 02 6F FF 1F 01 02"), "02 92 6F | ");
  EXPECT_EQ(Ask(model, "02 02 B1"), "02 42 B1 | ");
  EXPECT_EQ(model.write_sessions(), 1);
  EXPECT_EQ(model.memory()[0x40], 0x11);
  EXPECT_EQ(model.memory()[0x1000], 0x22);
  EXPECT_EQ(Ask(model, "05 02 AD 10 00 00"),
            "13 AC 10 00 01 21 43 F5 FF FF FF FF FF 01 11 F2 FF FF FF FF | ");
}

TEST(DeviceModel, StatusRecordsAndRefusals) {
  sim::DeviceModel model;
  EXPECT_EQ(Ask(model, "02 02 C0"), "09 C1 31 01 01 00 00 12 34 56 | ");
  EXPECT_EQ(Ask(model, "02 02 A2"), "03 A3 48 01 | ");
  EXPECT_EQ(Ask(model, "02 02 CA"), "04 CB 05 00 79 | ");
  EXPECT_EQ(Ask(model, "03 02 CC 03"), "04 CB 05 03 79 | ");
  EXPECT_EQ(Ask(model, "05 02 17 02 AD 03"), "02 92 17 | ");
  EXPECT_EQ(Ask(model, "02 02 77"), "02 92 77 | ");
  // The clock answers five bytes; setting it moves the device's clock only.
  EXPECT_EQ(Ask(model, "02 02 B4").substr(0, 6), "06 B5 ");
  std::string set = Ask(model, "07 02 B6 30 15 10 81 21");  // 10:15:30 on the 1st of January
  EXPECT_EQ(set.substr(0, 15), "06 B5 30 15 10 ");
  EXPECT_EQ(set.substr(15, 2).substr(1), "1");
  EXPECT_EQ(Ask(model, "07 02 B6 99 15 10 01 01"), "02 92 B6 | ");
}

TEST(DeviceModel, InformationBlocksAndTheClockLiveInMemory) {
  sim::DeviceModel model;
  EXPECT_EQ(Ask(model, "05 02 AD 00 15 00"),
            "13 AC 00 15 5A 45 4C 54 2D 32 20 47 53 4D 00 00 00 00 00 00 | ");
  model.signal_level = 40;
  EXPECT_EQ(Ask(model, "04 02 AD 30 15"), "04 AC 30 15 28 | ");
  // Five one-byte writes of the clock take effect when the session closes:
  // 10:15:30 on the 1st of March.
  Ask(model, "02 02 B0");
  const char* writes[] = {"05 02 6F 31 15 30", "05 02 6F 32 15 15", "05 02 6F 33 15 10",
                          "05 02 6F 34 15 01", "05 02 6F 35 15 03"};
  for (const char* write : writes) EXPECT_EQ(Ask(model, write), "02 42 6F | ");
  Ask(model, "02 02 B1");
  const std::string block = Ask(model, "05 02 AD 30 15 00");
  EXPECT_EQ(block.substr(15, 12), "30 15 10 01 ");
  EXPECT_EQ(uhex::HexPairToByte(block.substr(27, 2)) & 0x1F, 0x03);  // weekday above
  EXPECT_NE(model.clock_offset, 0);
}

TEST(DeviceModel, ImageFilesRoundTripAndBadOnesAreRefused) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "zelt_device_model_test.img").string();
  sim::DeviceModel model;
  model.SetScript("saved script");
  std::string error;
  ASSERT_TRUE(model.SaveImage(path, &error)) << error;
  EXPECT_EQ(std::filesystem::file_size(path), sim::DeviceModel::kMemorySize);
  sim::DeviceModel other;
  ASSERT_TRUE(other.LoadImage(path, &error)) << error;
  EXPECT_EQ(other.Script(), "saved script");

  std::filesystem::resize_file(path, sim::DeviceModel::kMemorySize + 1);
  EXPECT_FALSE(other.LoadImage(path, &error));
  EXPECT_NE(error.find("larger"), std::string::npos);
  EXPECT_EQ(other.Script(), "saved script");  // a refused file changes nothing
  std::filesystem::resize_file(path, 10);
  EXPECT_TRUE(other.LoadImage(path, &error));
  EXPECT_EQ(other.memory()[3], 0x80);
  EXPECT_EQ(other.memory()[100], 0);
  std::remove(path.c_str());
  EXPECT_FALSE(other.LoadImage(path, &error));
}

}  // namespace
