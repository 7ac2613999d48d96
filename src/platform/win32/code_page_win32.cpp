// Conversions between the system's ANSI code page and UTF-16, done by the
// system itself so that they agree with every other program on the machine.
#include <windows.h>

#include <climits>

#include "platform/win32/win32_system.h"
#include "text/utf.h"

namespace sympack::platform::win32 {
namespace {

// The calls count in int; no text of the tool comes near that limit.
int Length(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

}  // namespace

std::u16string Win32System::AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), Length(ansi.size()), nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), Length(ansi.size()), wide.data(), units);
  return std::u16string(wide.begin(), wide.end());
}

std::string Win32System::WideToAnsi(std::u16string_view wide) {
  if (wide.empty()) return {};
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, units, Length(wide.size()), nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, units, Length(wide.size()), ansi.data(), bytes, nullptr, nullptr);
  return ansi;
}

std::size_t Win32System::AnsiCharacterLength(std::string_view text) {
  if (text.empty()) return 0;
  if (GetACP() == CP_UTF8) return text::Utf8CharacterLength(text);
  const auto lead = static_cast<BYTE>(text[0]);
  return text.size() >= 2 && IsDBCSLeadByteEx(CP_ACP, lead) ? 2 : 1;
}

bool Win32System::AnsiIsSingleByte() {
  CPINFO info{};
  return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

// Programs print in the ANSI code page on Windows: their text stands as it is.
std::string Win32System::ProgramTextToAnsi(std::string_view printed) { return std::string(printed); }

}  // namespace sympack::platform::win32
