// The process entry: prepare the console, run once, put the console back.
#include "console/console.h"
#include "console/transcript.h"
#include "platform/platform.h"
#include "run/run_tool.h"
#include "simulator/command_tail.h"

int main(int argc, char** argv) {
  using namespace sympack;
  const platform::OutputKind output = platform::PrepareConsole();
  const std::string tail = simulator::CommandTail(argc, argv);
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
