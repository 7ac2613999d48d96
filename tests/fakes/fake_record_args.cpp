// Records the arguments it received, one per line (each followed by LF,
// bytes as received), into the file that FAKE_ARGV_FILE names, then prints
// the good report. The tests compare the record with what the message must
// give.
#include "fake_common.h"

int main(int argc, char** argv) {
  fake::BinaryOutput();
  const std::string record = fake::Environment("FAKE_ARGV_FILE");
  if (!record.empty()) {
    std::string lines;
    for (int i = 1; i < argc; ++i) {
      lines += argv[i];
      lines += '\n';
    }
    if (!fake::WriteFile(record, lines)) return 2;
  }
  fake::DelayIfAsked();
  fake::WriteGoodReport("\r\n", fake::DecodedText(argc, argv));
  return 0;
}
