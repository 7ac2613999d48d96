// The real simulator's report for "CQ K1ABC FN42", lines ended by CR LF (it
// never prints a lone LF). Exit code 0, or FAKE_EXIT_CODE after the first
// FAKE_LINES lines.
#include "fake_common.h"

int main() {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  fake::WriteGoodReport("\r\n");
  return fake::ExitCodeAsked();
}
