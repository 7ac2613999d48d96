// Test helper standing in for the simulator: writes its whole process command
// line (GetCommandLineW, UTF-16LE, no terminator) into COMMAND_LINE.BIN in the
// current folder, and its command tail as the tool's seam sees it into
// COMMAND_TAIL.BIN; then prints a short report on standard output, so that the
// report's redirection can be checked too.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "platform/host_system.h"

namespace {

void WriteUnits(const wchar_t* name, const void* units, std::size_t count) {
  const HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, units, static_cast<DWORD>(count * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
  const wchar_t* line = GetCommandLineW();
  WriteUnits(L"COMMAND_LINE.BIN", line, std::wcslen(line));
  const std::u16string tail = sympack::platform::MakeHostSystem(argc, argv)->CommandTail();
  WriteUnits(L"COMMAND_TAIL.BIN", tail.data(), tail.size());
  std::fputs("recorded\n", stdout);  // text mode: the runtime adds the CR
  return 0;
}
