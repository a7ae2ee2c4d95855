#include "device_model.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#ifdef _WIN32
#include <windows.h>
#undef LoadImage  // windows.h's macro, not DeviceModel::LoadImage
#endif

namespace sim {

namespace {

constexpr uint8_t kRead = 0xAD;
constexpr uint8_t kReadAnswer = 0xAC;
constexpr uint8_t kWrite = 0x6F;
constexpr uint8_t kOpenWriting = 0xB0;
constexpr uint8_t kCloseWriting = 0xB1;
constexpr uint8_t kIdentity = 0xC0;
constexpr uint8_t kSignalRequest = 0xA2;
constexpr uint8_t kClock = 0xB4;
constexpr uint8_t kSetClock = 0xB6;
constexpr uint8_t kInputs = 0xCA;
constexpr uint8_t kSetOutputs = 0xCC;
constexpr uint8_t kAcknowledge = 0x42;
constexpr uint8_t kRefused = 0x92;

uint8_t U(char c) { return static_cast<uint8_t>(c); }

std::string Record(std::initializer_list<uint8_t> body) {
  std::string record(1, static_cast<char>(body.size()));
  for (uint8_t b : body) record += static_cast<char>(b);
  return record;
}

uint8_t Bcd(int n) { return static_cast<uint8_t>((n / 10) * 16 + n % 10); }
int FromBcd(uint8_t b) { return (b >> 4) * 10 + (b & 0x0F); }

}  // namespace

std::string PhoneBytes(std::string_view digits) {
  std::string bytes;
  size_t next = 0;
  auto nibble = [&]() -> int {
    return next < digits.size() ? (U(digits[next++]) & 0x0F) : 0x0F;
  };
  for (int k = 0; k < 8; ++k) {
    int low = nibble();
    int high = nibble();
    bytes += static_cast<char>(low | (high << 4));
  }
  return bytes;
}

DeviceModel::DeviceModel() { Reset(); }

void DeviceModel::Reset() {
  memory_.fill(0);
  memory_[0] = 0x01;          // image layout version
  memory_[1] = kBusAddress;   // the device's own bus address
  memory_[3] = kScriptStart;  // where the script starts
  memory_[4] = kModuleType;
  SetPhone(kPhones, 1, "79001234567");
  SetPhone(kPhones + kPhoneSize, 1, "112");
  SetScript("ZELT-2 GSM: IN1 ON -> SMS 1; IN2 ON -> CALL 2;");
  // Mode, band, SMS in Cyrillic, SMS and call on alarm, no disarm SMS, power
  // watch, 3 dialling attempts, a test call every 24 hours.
  const uint8_t settings[] = {0, 0, 1, 1, 1, 0, 1, 3, 24};
  for (size_t k = 0; k < sizeof settings; ++k) memory_[kSettings + k] = settings[k];
  WriteText(kName, "ZELT-2 GSM");
  WriteText(kFirmware, "1.00");
  WriteText(kSerial, "00123456");
  RefreshRegisters();
  writing_ = false;
  clock_written_ = false;
}

void DeviceModel::WriteText(int address, std::string_view text) {
  for (int k = 0; k < 16; ++k) {
    memory_[address + k] = k < static_cast<int>(text.size()) && k < 15 ? U(text[k]) : 0;
  }
}

void DeviceModel::RefreshRegisters() {
  memory_[kSignalLevel] = signal_level;
  const std::string clock = ClockBytes();
  for (int k = 0; k < 5; ++k) memory_[kClockBytes + k] = U(clock[k]);
}

void DeviceModel::SetPhone(int address, uint8_t status, std::string_view digits) {
  if (address < 0 || address + 9 > static_cast<int>(kMemorySize)) return;
  memory_[address] = status;
  const std::string bytes = PhoneBytes(digits);
  for (int k = 0; k < 8; ++k) memory_[address + 1 + k] = U(bytes[k]);
}

std::string DeviceModel::Script() const {
  const size_t start = memory_[3];
  if (memory_[start] != 0x55 || memory_[start + 1] != 0xAA) return {};
  std::string text;
  for (size_t at = start + 2; at < kMemorySize && memory_[at] != 0; ++at) {
    text += static_cast<char>(memory_[at]);
  }
  return text;
}

void DeviceModel::SetScript(std::string_view text) {
  size_t at = memory_[3];
  memory_[at++] = 0x55;
  memory_[at++] = 0xAA;
  for (char c : text) {
    if (at >= kMemorySize - 1) break;
    memory_[at++] = U(c);
  }
  memory_[at] = 0;
}

bool DeviceModel::LoadImage(const std::string& path, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() > kMemorySize) {
    if (error) *error = path + " is larger than " + std::to_string(kMemorySize) + " bytes";
    return false;
  }
  memory_.fill(0);
  for (size_t k = 0; k < bytes.size(); ++k) memory_[k] = U(bytes[k]);
  return true;
}

bool DeviceModel::SaveImage(const std::string& path, std::string* error) const {
  // Written beside the target and renamed, so a crash never leaves half an image.
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(memory_.data()), memory_.size());
    if (!out) {
      if (error) *error = "cannot write " + temporary;
      return false;
    }
  }
#ifdef _WIN32
  // rename() on Windows refuses to replace a file that exists.
  const bool replaced = MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  const bool replaced = std::rename(temporary.c_str(), path.c_str()) == 0;
#endif
  if (!replaced) {
    if (error) *error = "cannot replace " + path;
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string DeviceModel::Refuse(uint8_t command) const { return Record({kRefused, command}); }
std::string DeviceModel::Acknowledge(uint8_t command) const {
  return Record({kAcknowledge, command});
}

std::vector<std::string> DeviceModel::Answer(std::string_view record) {
  if (record.size() < 3 || U(record[0]) != record.size() - 1) return {};
  if (U(record[1]) != kBusAddress) return {};
  const uint8_t command = U(record[2]);
  switch (command) {
    case kRead: return Read(record);
    case kWrite: return Write(record);
    case kOpenWriting:
      writing_ = true;
      return {Acknowledge(command)};
    case kCloseWriting: {
      if (!writing_) return {Refuse(command)};
      writing_ = false;
      ++write_sessions_;
      if (clock_written_) {
        clock_written_ = false;
        SetClockFromBytes(std::string(memory_.begin() + kClockBytes,
                                      memory_.begin() + kClockBytes + 5));
      }
      return {Acknowledge(command)};
    }
    case kIdentity: return {Identity()};
    case kSignalRequest: return {Signal()};
    case kClock: return {Clock()};
    case kSetClock: return SetClock(record);
    case kInputs: return {Inputs()};
    case kSetOutputs:
      if (record.size() != 4) return {Refuse(command)};
      outputs = U(record[3]);
      return {Inputs()};
    default: return {Refuse(command)};
  }
}

std::vector<std::string> DeviceModel::Read(std::string_view record) {
  RefreshRegisters();
  const size_t length = record.size() - 1;
  if (length == 3) {
    const uint8_t address = U(record[3]);
    return {Record({kReadAnswer, address, memory_[address]})};
  }
  const size_t address = U(record[3]) + 256u * (length >= 4 ? U(record[4]) : 0);
  if (length == 4) {
    if (address >= kMemorySize) return {Refuse(kRead)};
    return {Record({kReadAnswer, U(record[3]), U(record[4]), memory_[address]})};
  }
  if (length == 5 && record[5] == 0) {
    if (address + 16 > kMemorySize) return {Refuse(kRead)};
    std::string answer = Record({kReadAnswer, U(record[3]), U(record[4])});
    for (size_t k = 0; k < 16; ++k) answer += static_cast<char>(memory_[address + k]);
    answer[0] = static_cast<char>(answer.size() - 1);
    return {answer};
  }
  return {Refuse(kRead)};
}

std::vector<std::string> DeviceModel::Write(std::string_view record) {
  const size_t length = record.size() - 1;
  if (!writing_ || length < 4) return {Refuse(kWrite)};
  size_t address = U(record[3]);
  std::string_view data = record.substr(4);
  if (length >= 5) {
    address += 256u * U(record[4]);
    data = record.substr(5);
  }
  if (address + data.size() > kMemorySize) return {Refuse(kWrite)};
  if (address < kClockBytes + 5u && address + data.size() > static_cast<size_t>(kClockBytes)) {
    clock_written_ = true;
  }
  for (char c : data) memory_[address++] = U(c);
  return {Acknowledge(kWrite)};
}

std::string DeviceModel::Identity() const {
  return Record({0xC1, kModuleType, 0x01, 0x01, 0x00, serial[0], serial[1], serial[2],
                 serial[3]});
}

std::string DeviceModel::Signal() const {
  return Record({0xA3, signal_level, registration});
}

std::string DeviceModel::Inputs() const {
  return Record({0xCB, inputs, outputs, supply_decivolts});
}

std::string DeviceModel::Clock() const {
  const std::string bytes = ClockBytes();
  std::string record = Record({0xB5});
  record += bytes;
  record[0] = static_cast<char>(record.size() - 1);
  return record;
}

std::string DeviceModel::ClockBytes() const {
  const std::time_t now = std::time(nullptr) + clock_offset;
  std::tm t{};
  localtime_r(&now, &t);
  const int year_bits = ((t.tm_year + 1900) % 10) & 3;
  const int weekday = (t.tm_wday + 6) % 7;  // 0 Monday
  return {static_cast<char>(Bcd(t.tm_sec)), static_cast<char>(Bcd(t.tm_min)),
          static_cast<char>(Bcd(t.tm_hour)),
          static_cast<char>(Bcd(t.tm_mday) | (year_bits << 6)),
          static_cast<char>(Bcd(t.tm_mon + 1) | (weekday << 5))};
}

std::vector<std::string> DeviceModel::SetClock(std::string_view record) {
  if (record.size() != 8 || !SetClockFromBytes(record.substr(3))) return {Refuse(kSetClock)};
  return {Clock()};
}

bool DeviceModel::SetClockFromBytes(std::string_view bytes) {
  if (bytes.size() != 5) return false;
  const std::time_t host_now = std::time(nullptr);
  std::tm host{};
  localtime_r(&host_now, &host);
  const int host_year = host.tm_year + 1900;
  const int year_bits = U(bytes[3]) >> 6;
  // The clock keeps two bits of the year: take the year nearest the host's.
  int year = host_year;
  for (int delta : {0, 1, -1, 2, -2, 3, -3}) {
    if (((host_year + delta) % 10 & 3) == year_bits) {
      year = host_year + delta;
      break;
    }
  }
  std::tm t{};
  t.tm_sec = FromBcd(U(bytes[0]));
  t.tm_min = FromBcd(U(bytes[1]));
  t.tm_hour = FromBcd(U(bytes[2]));
  t.tm_mday = FromBcd(U(bytes[3]) & 0x3F);
  t.tm_mon = FromBcd(U(bytes[4]) & 0x1F) - 1;
  t.tm_year = year - 1900;
  t.tm_isdst = -1;
  if (t.tm_sec > 59 || t.tm_min > 59 || t.tm_hour > 23 || t.tm_mday < 1 || t.tm_mday > 31 ||
      t.tm_mon < 0 || t.tm_mon > 11) {
    return false;
  }
  const std::time_t wanted = std::mktime(&t);
  if (wanted == static_cast<std::time_t>(-1)) return false;
  clock_offset = wanted - host_now;
  return true;
}

}  // namespace sim
