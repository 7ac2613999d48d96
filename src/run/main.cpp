// The process entry: answer --help or --version, or prepare the console, run
// once and put the console back.
#include "console/console.h"
#include "console/transcript.h"
#include "platform/platform.h"
#include "run/exit_codes.h"
#include "run/information.h"
#include "run/run_tool.h"
#include "simulator/command_tail.h"

int main(int argc, char** argv) {
  using namespace sympack;
  const std::string tail = simulator::CommandTail(argc, argv);
  // Asked for usage or the version: print it and leave the console and the
  // folder exactly as they were.
  if (const auto information = run::InformationFor(tail)) {
    return run::ShowInformation(*information) ? run::kExitOk : run::kExitNotWritten;
  }
  const platform::OutputKind output = platform::PrepareConsole();
  console::SystemScreen systemScreen;
  console::SystemTranscriptSink standardStreams;
  console::TranscriptScreen transcript(standardStreams, platform::TypingShowsOnTranscript());
  console::Screen& screen =
      output == platform::OutputKind::kScreen ? static_cast<console::Screen&>(systemScreen) : transcript;
  console::SystemKeys keys;
  console::Console console(screen, keys);
  const int exitCode = run::RunTool(console, tail);
  platform::RestoreConsole();
  return exitCode;
}
