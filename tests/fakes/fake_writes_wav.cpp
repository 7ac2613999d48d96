// Leaves the simulator's audio file 000000_0001.wav in the current folder and
// prints the good report.
#include "fake_common.h"

int main(int argc, char** argv) {
  fake::BinaryOutput();
  fake::DelayIfAsked();
  static constexpr char kHeader[] = "RIFF\x24\x00\x00\x00WAVEfmt ";
  if (!fake::WriteFile("000000_0001.wav", std::string_view(kHeader, sizeof(kHeader) - 1))) return 2;
  fake::WriteGoodReport("\r\n", fake::DecodedText(argc, argv));
  return 0;
}
