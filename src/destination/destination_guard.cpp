#include "destination/destination_guard.h"

#include <string>

#include "platform/system.h"
#include "report/file_names.h"
#include "report/files.h"
#include "command/interpreter_rules.h"
#include "command/simulator_command.h"
#include "text/ascii_case.h"

namespace sympack::destination {
namespace {

using command::kSimulatorToken;
using report::kReportFile;
using report::kSimulatorProgram;
using report::NameIsRunOutput;
using report::NamesSameFile;

// The command name the simulator is started by: its token less the blank.
constexpr std::string_view kSimulatorCommandName = kSimulatorToken.substr(0, kSimulatorToken.size() - 1);

// True when the `;`-separated list holds the extension, in any ASCII case.
bool ListHolds(std::u16string_view pathExt, std::u16string_view extension) {
  while (!pathExt.empty()) {
    const auto cut = pathExt.find(u';');
    const std::u16string_view listed = pathExt.substr(0, cut);
    if (!listed.empty() && text::EqualsIgnoringAsciiCase(extension, listed)) return true;
    if (cut == std::u16string_view::npos) break;
    pathExt.remove_prefix(cut + 1);
  }
  return false;
}

std::u16string_view ExtensionOf(std::u16string_view name) {
  const auto dot = name.find_last_of(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot);
}

// Windows drops trailing dots and blanks from a name: "FST4SIM.BAT. " is
// FST4SIM.BAT.
std::u16string_view WithoutTrailingDotsAndBlanks(std::u16string_view name) {
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
  return name;
}

std::pair<std::u16string_view, std::u16string_view> SplitFolder(std::u16string_view path) {
  const auto cut = path.find_last_of(u"\\/:");
  if (cut == std::u16string_view::npos) return {{}, path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

bool IsCurrentFolder(platform::Destination& system, std::u16string_view folder) {
  return folder.empty() || system.NamesSameFile(folder, u".");
}

std::u16string PathExt(platform::InterpreterRun& system) {
  const auto value = system.EnvironmentVariable(u"PATHEXT");
  return value && !value->empty() ? *value : std::u16string(command::kPathExtWhenUnset.begin(), command::kPathExtWhenUnset.end());
}

bool IsSimulatorStandIn(platform::System& system, std::u16string_view destination) {
  const auto [folder, lastPart] = SplitFolder(destination);
  if (!IsCurrentFolder(system, folder)) return false;
  const std::u16string pathExt = PathExt(system);
  if (NamesSimulatorStandIn(lastPart, pathExt)) return true;
  return NamesSimulatorStandIn(SplitFolder(system.ListedName(destination)).second, pathExt);
}

}  // namespace

bool NamesSimulatorStandIn(std::u16string_view lastPart, std::u16string_view pathExt) {
  const std::u16string_view name = WithoutTrailingDotsAndBlanks(lastPart);
  const std::u16string command(kSimulatorCommandName.begin(), kSimulatorCommandName.end());
  // cmd.exe compares command names and extensions without regard to ASCII case.
  if (name.size() < command.size() || !text::EqualsIgnoringAsciiCase(name.substr(0, command.size()), command)) {
    return false;
  }
  const std::u16string_view added = name.substr(command.size());
  if (ListHolds(pathExt, ExtensionOf(command))) return added.empty();
  return !added.empty() && ListHolds(pathExt, added);
}

DestinationRefusal RefusalOf(platform::System& system, std::string_view destination) {
  if (NamesSameFile(system, destination, kSimulatorProgram) ||
      IsSimulatorStandIn(system, system.AnsiToWide(destination))) {
    return DestinationRefusal::kSimulator;
  }
  if (NamesSameFile(system, destination, kReportFile)) return DestinationRefusal::kReport;
  if (NameIsRunOutput(system, destination)) return DestinationRefusal::kRunOutput;
  return DestinationRefusal::kNone;
}

}  // namespace sympack::destination
