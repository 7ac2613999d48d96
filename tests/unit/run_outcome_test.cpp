// Every outcome of a run and every clean-up rule, on the in-memory system:
// one row per case, each saying what the exit code, the folder, the screen
// and the clipboard must be afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "outcome_rows.h"
#include "run/complete_run.h"
#include "run/run_tool.h"

namespace sympack::run {
namespace {

// Rows are named by their name alone in the test's output.
void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

class RunOutcome : public ::testing::TestWithParam<Row> {};

bool RanSimulator(const MemorySystem& system) {
  return std::any_of(system.commandLines.begin(), system.commandLines.end(), MemorySystem::RunsSimulator);
}

TEST_P(RunOutcome, ExitCodeFilesScreenAndClipboard) {
  const Row& row = GetParam();
  MemorySystem system;
  system.Put("FST4SIM.EXE", "program");
  system.simulator.report = Report();
  row.scenario(system);
  const bool simulatorThere = system.Has("FST4SIM.EXE");
  std::map<std::string, std::string> before;
  for (const auto& name : row.untouched) before[name] = system.Bytes(name);

  EXPECT_EQ(RunTool(system, system.AnsiToWide(row.tail)), row.exitCode);

  // The folder holds exactly what the row names, and the simulator unchanged.
  std::set<std::u16string> expected;
  for (const auto& name : row.present) expected.insert(MemorySystem::NameKey(name));
  if (simulatorThere) {
    expected.insert(MemorySystem::NameKey("FST4SIM.EXE"));
    EXPECT_EQ(system.Bytes("FST4SIM.EXE"), "program") << "the simulator was written over";
  }
  EXPECT_EQ(system.Names(), expected);
  for (const auto& name : row.absent) EXPECT_FALSE(system.Has(name)) << name << " is left";
  // A device is never shown: TYPE would read one like /dev/zero without end.
  for (const auto& [name, entry] : system.files) {
    for (const auto& line : system.commandLines) {
      EXPECT_FALSE(entry.device && MemorySystem::NameKey(system.WideToAnsi(line)).find(u"TYPE " + name) != std::u16string::npos)
          << system.WideToAnsi(line);
    }
  }
  for (const auto& [name, bytes] : before) {
    EXPECT_TRUE(system.Has(name) && system.Bytes(name) == bytes) << name << " was touched";
  }
  const std::string screen = system.ScreenText();
  for (const auto& text : row.shown) {
    const std::string shown = text.substr(0, text.find_last_not_of(' ') + 1);  // rows are read trimmed
    EXPECT_NE(screen.find(shown), std::string::npos) << text << "\n" << screen;
  }
  if (row.colour >= 0) {
    EXPECT_EQ(system.ForegroundAt(row.shown.back()), row.colour) << row.shown.back();
  }
  EXPECT_EQ(RanSimulator(system), row.simulatorRan);
  // The destination is asked for only when an include file can be written:
  // never after an early end, nor after a report that rules one out. (After
  // the simulator ran, a control character or a lost keyboard can only come
  // from the destination's own line.)
  const std::set<int> wentOnToWrite = {kExitOk,        kExitNotWritten,        kExitSimulatorFailed,
                                       kExitOtherText, kExitControlCharacter, kExitKeyboardLost};
  const bool asked = screen.find(Said(kDestinationPrompt).substr(0, 16)) != std::string::npos;
  EXPECT_EQ(asked, row.simulatorRan && wentOnToWrite.count(row.exitCode) != 0) << screen;
  if (row.exitCode == kExitNotWritten) {
    EXPECT_EQ(system.commandLines.size(), 2u) << "only the simulator and the report's TYPE: nothing else shown";
  }
  // What went on the clipboard is what the include file holds.
  EXPECT_EQ(!system.clipboard.empty(), row.copied);
  if (row.copied && row.exitCode != kExitNotWritten) {
    const std::string copied = system.WideToAnsi(system.clipboard.front()) + "\r\n";
    EXPECT_TRUE(std::any_of(row.present.begin(), row.present.end(),
                            [&](const std::string& name) { return system.Bytes(name) == copied || system.files.at(MemorySystem::NameKey(name)).device; }));
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RunOutcome, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<Row>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace sympack::run
