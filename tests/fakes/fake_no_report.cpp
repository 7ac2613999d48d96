// Writes no report at all: a complaint on standard error, nothing on standard
// output, exit code 1. (The interpreter still creates the redirect file,
// empty, as cmd.exe does.)
#include "fake_common.h"

int main() {
  fake::DelayIfAsked();
  std::fputs("fake_no_report: no report for this message\n", stderr);
  return 1;
}
