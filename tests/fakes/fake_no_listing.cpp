// A report with no "hannel symbols" line: the listing's heading is in
// capitals (which is not the marker), and other lines hold "hannel" alone.
#include "fake_common.h"

int main() {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  fake::Out(
      "\r\n"
      "Message: CQ K1ABC FN42\r\n"
      "Channel: none\r\n"
      "\r\n"
      "CHANNEL SYMBOLS:\r\n"
      "0132102310\r\n"
      "3311233031\r\n"
      "\r\n");
  std::fflush(stdout);
  return 0;
}
