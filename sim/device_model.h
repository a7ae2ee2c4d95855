// The simulated ZELT-2 GSM device behind the frame protocol: a memory image and
// the answers to the command records the configurator sends. The frame layer
// hands it each command record taken from a poll reply and sends back, as data
// frames, the answer records it returns. No I/O but the image file.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class DeviceModel {
 public:
  static constexpr size_t kMemorySize = 8192;
  static constexpr uint8_t kBusAddress = 0x02;
  static constexpr uint8_t kModuleType = 0x31;  // at address 4: 3x is a module
  // The memory map (docs/device.md).
  static constexpr int kPhones = 0x10;      // 10 records of 9 bytes
  static constexpr int kPhoneSize = 9;
  static constexpr uint8_t kScriptStart = 0x80;
  static constexpr int kSettings = 0x1400;  // 64 setting bytes
  static constexpr int kName = 0x1500;      // texts of 16 bytes, 00 ended
  static constexpr int kFirmware = 0x1510;
  static constexpr int kSerial = 0x1520;
  static constexpr int kSignalLevel = 0x1530;  // 0..100 %
  static constexpr int kClockBytes = 0x1531;   // five bytes, the device clock layout

  DeviceModel();

  // Answer records (length byte first) to one command record. A record that
  // is not for this device gets none; one it cannot carry out gets a refusal.
  std::vector<std::string> Answer(std::string_view record);

  // Loads an image file (at most kMemorySize bytes; a shorter one is padded
  // with 00). False with a reason when the file cannot be used.
  bool LoadImage(const std::string& path, std::string* error);
  bool SaveImage(const std::string& path, std::string* error) const;

  // The factory image: identity bytes, phone records, the sample script.
  void Reset();

  std::array<uint8_t, kMemorySize>& memory() { return memory_; }
  const std::array<uint8_t, kMemorySize>& memory() const { return memory_; }
  bool writing() const { return writing_; }
  // Counts completed write sessions (B1 after B0): the image is saved then.
  int write_sessions() const { return write_sessions_; }

  // The script held at the address found at address 3 (between 55 AA and 00),
  // or empty when the signature is missing.
  std::string Script() const;
  void SetScript(std::string_view text);
  // Status and digits of the phone record at `address`.
  void SetPhone(int address, uint8_t status, std::string_view digits);

  // Live values: read at the registers above and in the status records.
  uint8_t signal_level = 72;    // 0..100 %
  uint8_t registration = 1;     // 1 home network, 5 roaming, 0 none
  uint8_t inputs = 0x05;        // bit n: input n + 1 closed
  uint8_t outputs = 0x00;       // bit n: output n + 1 on
  uint8_t supply_decivolts = 121;
  std::time_t clock_offset = 0;  // device clock minus host clock, seconds
  std::array<uint8_t, 4> serial{0x00, 0x12, 0x34, 0x56};

 private:
  std::string Refuse(uint8_t command) const;
  std::string Acknowledge(uint8_t command) const;
  std::vector<std::string> Read(std::string_view record);
  std::vector<std::string> Write(std::string_view record);
  std::string Identity() const;
  std::string Signal() const;
  std::string Clock() const;
  std::string Inputs() const;
  std::vector<std::string> SetClock(std::string_view record);
  // The five clock bytes of the device's present time.
  std::string ClockBytes() const;
  // Sets the device clock from five clock bytes; false when they are no time.
  bool SetClockFromBytes(std::string_view bytes);
  // Puts the live values into the memory before a read.
  void RefreshRegisters();
  void WriteText(int address, std::string_view text);

  std::array<uint8_t, kMemorySize> memory_{};
  bool writing_ = false;
  bool clock_written_ = false;  // applied when the write session closes
  int write_sessions_ = 0;
};

// Eight digit bytes, low nibble first, F where the digits ran out.
std::string PhoneBytes(std::string_view digits);

}  // namespace sim
