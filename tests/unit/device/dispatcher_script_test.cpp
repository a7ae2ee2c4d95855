#include <gtest/gtest.h>

#include "cp1251.h"

#include "device_test_support.h"

namespace {

using device_test::DeviceFixture;

class ScriptExchange : public ::testing::Test, public DeviceFixture {
 protected:
  ScriptExchange() { links.Add(1).Poll(); }
  // The records queued since the last call, one per element.
  std::vector<std::string> Taken() {
    std::string& queue = links.At(1).protocol.SendQueue();
    std::vector<std::string> records;
    while (!queue.empty()) {
      const size_t cells = (uhex::HexPairToByte(queue) + 1) * 3;
      records.push_back(queue.substr(0, cells - 1));
      queue.erase(0, cells);
    }
    return records;
  }
  std::string Script() {
    engine.ExecuteLine("RSCRIPT");
    return engine.Pop();
  }
};

using Records = std::vector<std::string>;

TEST_F(ScriptExchange, ByteModeReadRunsAsAPipelineToTheEndMark) {
  engine.ExecuteLine("1 2 \"\" READSCR");
  EXPECT_EQ(Taken(), Records{"03 02 AD 03"});
  Deliver("03 AC 03 07");
  EXPECT_EQ(memos.received.back(), "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(*stores.Response(1, 2, 9), "09 02 AC 03 07 00 00 00 00 00 ");
  EXPECT_EQ(Taken(), Records{"03 02 AD 07"});
  Deliver("03 AC 07 55");
  EXPECT_EQ(Taken(), Records{"03 02 AD 08"});
  Deliver("03 AC 08 AA");
  EXPECT_EQ(Taken(), (Records{"03 02 AD 09", "03 02 AD 0A", "03 02 AD 0B"}));
  EXPECT_TRUE(links.At(1).protocol.Pacing());
  Deliver("03 AC 09 41");
  Deliver("03 AC 0A 42");
  Deliver("03 AC 0B 00");
  EXPECT_EQ(Script(), "AB");
  EXPECT_EQ(Taken(), (Records{"03 02 AD 0C", "03 02 AD 0D"}));
  // The reads still on their way are only logged and stored.
  Deliver("03 AC 0C 43");
  Deliver("03 AC 0D 00");
  EXPECT_EQ(Script(), "AB");
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(*stores.Response(1, 2, 9), "09 02 AC 0D 00 00 00 00 00 00 ");
}

TEST_F(ScriptExchange, WrongSignatureStopsTheExchangeQuietly) {
  stores.transfer.script_text = "kept";
  engine.ExecuteLine("1 2 \"\" WRITESCR");  // WRITESCR keeps the text...
  stores.transfer.write = false;            // ...and reading it back is the case here
  Deliver("03 AC 03 07");
  Taken();
  Deliver("03 AC 07 56");
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(Script(), "kept");

  engine.ExecuteLine("1 2 \"\" READSCR");
  Deliver("03 AC 03 07");
  Deliver("03 AC 07 55");
  Taken();
  Deliver("03 AC 08 AB");
  EXPECT_TRUE(Taken().empty());
  EXPECT_EQ(Script(), "");
}

TEST_F(ScriptExchange, AGapEmptiesTheScriptText) {
  engine.ExecuteLine("1 2 \"\" READSCR");
  Deliver("03 AC 03 07");
  Deliver("03 AC 07 55");
  Deliver("03 AC 08 AA");
  Deliver("03 AC 0A 42");  // 09 never answered
  Deliver("03 AC 0B 00");
  EXPECT_EQ(Script(), "");
  EXPECT_EQ(stores.transfer.module, 0);
}

TEST_F(ScriptExchange, RefusedRequestRestartsOneByteReadsAfterTheLastAnswer) {
  engine.ExecuteLine("1 2 0 READSCR");  // block mode
  Taken();
  Deliver("03 AC 03 07");
  EXPECT_EQ(Taken(), Records{"05 02 AD 07 00 00"});
  Deliver("03 AC 07 55");  // a late one-byte answer counts as the last answered
  Deliver("02 92 AD");
  EXPECT_EQ(Taken(), (Records{"05 02 AD 17 00 00", "03 02 AD 08"}));
  // Refused right after the start answer: the reads start again at the script,
  // not at address 4, whose bytes are no part of it.
  engine.ExecuteLine("1 2 0 READSCR");
  Taken();
  Deliver("03 AC 03 07");
  Taken();
  Deliver("02 92 AD");
  EXPECT_EQ(Taken(), Records{"03 02 AD 07"});
  // Nothing is restarted before an answer came or once the exchange is over.
  engine.ExecuteLine("1 2 0 READSCR");
  Taken();
  Deliver("02 92 AD");
  EXPECT_TRUE(Taken().empty());
}

TEST_F(ScriptExchange, ByteModeWriteIsQueuedAtOnce) {
  engine.ExecuteLine("AB SSCRIPT 1 2 \"\" WRITESCR");
  EXPECT_EQ(Taken(), Records{"03 02 AD 03"});
  Deliver("03 AC 03 07");
  EXPECT_EQ(Taken(), (Records{"02 02 B0", "04 02 6F 07 55", "04 02 6F 08 AA", "04 02 6F 09 41",
                              "04 02 6F 0A 42", "05 02 6F 0B 00 00", "02 02 B1"}));
  EXPECT_TRUE(links.At(1).protocol.Pacing());
  EXPECT_FALSE(stores.transfer.write);
  EXPECT_EQ(stores.transfer.next_address, 0);
  EXPECT_EQ(memos.sent.size(), 7u);
}

TEST_F(ScriptExchange, BlockModeWriteCarriesSixteenBytesPerRecord) {
  engine.ExecuteLine("ABCDEFGHIJKLMNOPQR SSCRIPT 1 2 0 WRITESCR");
  Taken();
  Deliver("03 AC 03 40");
  const std::string zeros = " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
  EXPECT_EQ(Taken(),
            (Records{"02 02 B0", "04 02 6F 40 55", "04 02 6F 41 AA",
                     "14 02 6F 42 00 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50",
                     "14 02 6F 52 00 51 52 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
                     "14 02 6F 54 00" + zeros, "05 02 6F 54 00 00", "02 02 B1"}));
}

TEST_F(ScriptExchange, ReadsAndWritesThroughTheSimulatedDevice) {
  sim::DeviceModel model;
  const std::string original = model.Script();
  ASSERT_FALSE(original.empty());
  engine.ExecuteLine("1 2 \"\" READSCR");
  Serve(model);
  EXPECT_EQ(Script(), original);
  engine.ExecuteLine("1 2 0 READSCR");
  Serve(model);
  EXPECT_EQ(Script(), original);

  // A script that runs past address 255 needs the two-byte forms.
  std::string long_text;
  for (int k = 0; k < 300; ++k) long_text += static_cast<char>('a' + k % 26);
  for (const char* mode : {"\"\"", "0"}) {
    model.SetScript("x");
    engine.ExecuteLine("\"" + long_text + "\" SSCRIPT 1 2 " + mode + " WRITESCR");
    Serve(model);
    EXPECT_EQ(model.Script(), long_text) << mode;
    EXPECT_FALSE(model.writing());
    engine.ExecuteLine("1 2 " + std::string(mode) + " READSCR");
    Serve(model);
    EXPECT_EQ(Script(), long_text) << mode;
  }
}

TEST_F(ScriptExchange, AScriptPastTheScriptAreaIsNeverWritten) {
  sim::DeviceModel model;  // the script starts at 80h
  const auto factory = model.memory();
  // From `from` on, the memory is as it came, but for the live signal and clock.
  auto untouched_from = [&](size_t from) {
    for (size_t at = from; at < factory.size(); ++at) {
      const bool live = at >= sim::DeviceModel::kSignalLevel && at < sim::DeviceModel::kClockBytes + 5;
      if (!live && model.memory()[at] != factory[at]) return false;
    }
    return true;
  };
  auto refused = [&](size_t length, const std::string& mode, int longest) {
    engine.ExecuteLine("WRFAILS DROP \"" + std::string(length, 'z') + "\" SSCRIPT 1 2 " + mode +
                       " WRITESCR");
    Serve(model);
    EXPECT_TRUE(untouched_from(0)) << length;
    EXPECT_EQ(memos.status, engine::Cp1251("Скрипт не записан: скрипт длиннее памяти устройства (") +
                                std::to_string(length) + engine::Cp1251(" из ") +
                                std::to_string(longest) + engine::Cp1251(" байт)."));
    engine.ExecuteLine("WRFAILS");
    EXPECT_EQ(engine.Pop(), std::to_string(length + 3));
  };
  engine.ExecuteLine("0 SCRMAX");
  EXPECT_EQ(engine.Pop(), "");  // no start address read yet
  // Too long for any start: the word queues nothing.
  refused(6250, "0", 4983);
  EXPECT_TRUE(Taken().empty());
  // Too long for the start the device gives: refused at its answer...
  refused(4856, "0", 4855);
  engine.ExecuteLine("0 SCRMAX \"\" SCRMAX");
  EXPECT_EQ(engine.Pop(), "4870");
  EXPECT_EQ(engine.Pop(), "4855");
  // ...and from then on by the word itself.
  refused(4856, "0", 4855);
  EXPECT_TRUE(Taken().empty());
  refused(4871, "\"\"", 4870);
  EXPECT_TRUE(Taken().empty());

  // The longest that fit end right at the buffer's end, and nothing past it moves.
  for (const auto& [length, mode] : {std::pair{4855, "0"}, std::pair{4870, "\"\""}}) {
    const std::string text(length, 'y');
    engine.ExecuteLine("\"" + text + "\" SSCRIPT 1 2 " + std::string(mode) + " WRITESCR");
    Serve(model);
    EXPECT_EQ(model.Script(), text) << mode;
    EXPECT_TRUE(untouched_from(device::kTransferSize)) << mode;
  }
}

TEST_F(ScriptExchange, AddressesAboveTheBufferEndTheExchange) {
  sim::DeviceModel model;
  model.SetScript(std::string(5100, 'z'));  // no end mark below 5001
  engine.ExecuteLine("1 2 0 READSCR");
  Serve(model);
  EXPECT_EQ(Script(), "");
  EXPECT_EQ(stores.transfer.module, 0);
  EXPECT_EQ(stores.transfer.buffer[0], 0);
}

}  // namespace
