// The real simulator's report for "CQ K1ABC FN42", lines ended by CR LF (it
// never prints a lone LF), its Message: line giving the message received (or
// FAKE_MESSAGE). Exit code 0, or FAKE_EXIT_CODE after the first FAKE_LINES
// lines.
#include "fake_common.h"

int main(int argc, char** argv) {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  fake::WriteGoodReport("\r\n", fake::DecodedText(argc, argv));
  return fake::ExitCodeAsked();
}
