// The real simulator's report for "CQ K1ABC FN42", lines ended by CR LF (it
// never prints a lone LF). Exit code 0.
#include "fake_common.h"

int main() {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  fake::WriteGoodReport("\r\n");
  return 0;
}
