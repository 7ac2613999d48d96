// The same report as fake_good_report, but every line ended by a lone LF, as
// a POSIX program prints it. Read straight from the file it would be one long
// line; our interpreter writes each lone LF into the redirect file as CR LF.
#include "fake_common.h"

int main(int argc, char** argv) {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  fake::WriteGoodReport("\n", fake::DecodedText(argc, argv));
  return 0;
}
