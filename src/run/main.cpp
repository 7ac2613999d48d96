// The process entry: answer --help or --version, or prepare the console, run
// once and put the console back.
#include "platform/host_system.h"
#include "run/exit_codes.h"
#include "run/information.h"
#include "run/run_tool.h"

int main(int argc, char** argv) {
  using namespace sympack;
  const auto system = platform::MakeHostSystem(argc, argv);
  // Asked for usage or the version: print it and leave the console and the
  // folder exactly as they were.
  if (const auto exitCode = run::AnswerInformationRequest(*system)) return *exitCode;
  system->PrepareForRun();
  const int exitCode = run::RunTool(*system, system->CommandTail());
  system->RestoreAfterRun();
  if (exitCode == run::kExitInterrupted) system->EndInterrupted();
  return exitCode;
}
