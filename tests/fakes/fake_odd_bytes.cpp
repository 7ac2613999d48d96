// Reports with the odd bytes the reader must take as the rules say. The
// variant is chosen by FAKE_VARIANT:
//   file (default): CR-only line ends, blanks inside symbol lines, digits 4
//                   to 9, the listing stopped by a line containing "File";
//   ctrlz:          a byte 26 inside a symbol line (the end of the file for
//                   the reader), lower-case heading "channel symbols";
//   channel:        the listing ended by a line containing "hannel", which is
//                   added in full;
//   worked:         the worked packing example, symbols "0123321001".
#include "fake_common.h"

int main() {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  const std::string variant = fake::Environment("FAKE_VARIANT");
  if (variant == "ctrlz") {
    fake::Out(
        "Odd report\r\n"
        "channel symbols\r\n"
        "0123\r\n"
        "32\x1a"  // the literal is split so that the escape takes no digit
        "10\r\n"
        "3333\r\n"
        "\r\n");
  } else if (variant == "channel") {
    fake::Out(
        "Odd report\r\n"
        "Channel symbols:\r\n"
        "0123\r\n"
        "3210\r\n"
        "0000 Channel\r\n"
        "3333\r\n"
        "\r\n");
  } else if (variant == "worked") {
    fake::Out(
        "Worked example\r\n"
        "Channel symbols:\r\n"
        "0123321001\r\n"
        "\r\n");
  } else {
    fake::Out(
        "Odd report\r\n"
        "Channel symbols:\r"
        "0123 321\r\n"
        "4000\r"
        "9999\r\n"
        "12 3\r\n"
        "Fileinfo 3333\r\n"
        "3333\r\n"
        "\r\n");
  }
  std::fflush(stdout);
  return 0;
}
