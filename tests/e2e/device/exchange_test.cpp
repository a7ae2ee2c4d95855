// The device words, the response dispatcher and the link against the
// simulated device: script memory and phone records, clean and with faults.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "program_fixture.h"

namespace {

using device_e2e::FastDevice;
using device_e2e::Program;

const std::string kScript = "IN1 ON: SMS 1";

class Exchange : public ::testing::TestWithParam<bool>, protected device_e2e::DeviceSession {
 protected:
  void SetUp() override {
    sim::SimulatorOptions options = FastDevice();
    if (Faulty()) {
      options.noise_rate = 0.05;
      options.refuse_rate = 0.03;
    }
    ASSERT_TRUE(StartDevice(options));
    simulator->model().SetScript(kScript);
    ASSERT_TRUE(Connect());
  }
  void TearDown() override {
    if (Faulty()) {
      const zsim::DeviceStats& stats = simulator->device().stats();
      std::printf("faults: %d commands refused, %d polls and %d data frames repeated\n",
                  simulator->refused(), stats.poll_repeats, stats.data_resends);
      EXPECT_GT(simulator->refused() + stats.poll_repeats + stats.data_resends, 0);
    }
    StopDevice();
  }
  bool Faulty() const { return GetParam(); }

  // With faults a refused request can cost an exchange its answer: the script
  // then tries again, as a configuring script does. Clean, once is enough.
  bool Eventually(const std::function<bool()>& attempt) {
    const int attempts = Faulty() ? 8 : 1;
    for (int k = 0; k < attempts; ++k) {
      if (attempt()) return true;
    }
    return false;
  }
  std::string ReadScript(const std::string& mode) {
    EXPECT_TRUE(program->RunAndWait("1 2 " + mode + " READSCR 300 WAITREAD DONE"));
    return program->Pushed("RSCRIPT");
  }
};

TEST_P(Exchange, ScriptReadsInByteModeAndBlockMode) {
  EXPECT_TRUE(Eventually([&] { return ReadScript("\"\"") == kScript; }));
  EXPECT_TRUE(Eventually([&] { return ReadScript("0") == kScript; }));
  // The traffic shows in the monitor memos.
  EXPECT_FALSE(program->form.MemoTerminal()->toPlainText().isEmpty());
  EXPECT_FALSE(program->form.MemoTerminalOut()->toPlainText().isEmpty());
}

TEST_P(Exchange, WrittenScriptReadsBack) {
  for (const std::string mode : {"\"\"", "0"}) {
    const std::string text = mode == "0" ? "OUT2 ON; CALL 3" : "ON 1";
    EXPECT_TRUE(Eventually([&] {
      program->engine.ExecuteLine("\"" + text + "\" SSCRIPT");
      EXPECT_TRUE(program->RunAndWait("1 2 " + mode + " WRITESCR 300 WAITREAD DONE"));
      return ReadScript(mode) == text;
    })) << mode;
    EXPECT_EQ(simulator->model().Script(), text);
    // A refused close leaves the device's write session open; the next one
    // opens it again.
    if (!Faulty()) {
      EXPECT_FALSE(simulator->model().writing());
    }
  }
}

TEST_P(Exchange, PhoneRecordWrittenReadsBack) {
  EXPECT_TRUE(Eventually([&] {
    EXPECT_TRUE(program->RunAndWait(
        "\"02 02 B0 \" 1 SENDCK 1 2 52 1 89161234567 WRITETEL \"02 02 B1 \" 1 SENDCK "
        "300 WAITREAD DONE"));
    EXPECT_TRUE(program->RunAndWait("1 2 52 READTEL 2000 WAITREAD DONE"));
    program->engine.ExecuteLine("RTEL");
    const std::string status = program->engine.Pop();
    const std::string digits = program->engine.Pop();
    return status == "1" && digits == "89161234567";
  }));
  EXPECT_EQ(simulator->model().memory()[52], 1);
  EXPECT_EQ(simulator->model().memory()[53], 0x98);  // 8 9 as low, high nibble
}

INSTANTIATE_TEST_SUITE_P(Line, Exchange, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return info.param ? std::string("NoiseAndRefusals") : std::string("Clean");
                         });

}  // namespace
