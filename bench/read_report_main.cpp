// Reads the report file in the current folder exactly as the tool does
// (ReadSymbolText) and prints the number of symbol bytes kept and the
// process's peak resident memory, for scripts/bench.sh to set beside cat.
#include <sys/resource.h>

#include <cstdio>

#include "platform/host_system.h"
#include "report/report_reader.h"

int main() {
  const auto symbols = sympack::report::ReadSymbolText(*sympack::platform::MakeHostSystem(0, nullptr));
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("kept %zu\nblock %zu\npeak_kib %ld\n", symbols ? symbols->size() : 0,
              sympack::report::kReadBlockSize, usage.ru_maxrss);
  return symbols ? 0 : 1;
}
