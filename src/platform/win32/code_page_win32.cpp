// Conversions between the system's ANSI code page and UTF-16, done by the
// system itself so that they agree with every other program on the machine.
#include <windows.h>

#include <climits>
#include <optional>

#include "platform/win32/win32_system.h"
#include "text/utf.h"

namespace sympack::platform::win32 {
namespace {

// The calls count in int; no text of the tool comes near that limit.
int Length(std::size_t size) { return size > INT_MAX ? INT_MAX : static_cast<int>(size); }

// The code pages whose conversions take no flags (WideCharToMultiByte's
// page): Symbol, the ISO-2022 pages 50220..50229, the ISCII pages
// 57002..57011, and UTF-7.
constexpr UINT kSymbolPage = 42;
constexpr UINT kIso2022First = 50220, kIso2022Last = 50229;
constexpr UINT kIsciiFirst = 57002, kIsciiLast = 57011;

bool TakesNoFlags(UINT page) {
  return page == CP_UTF7 || page == kSymbolPage || (page >= kIso2022First && page <= kIso2022Last) ||
         (page >= kIsciiFirst && page <= kIsciiLast);
}

}  // namespace

std::u16string Win32System::AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), Length(ansi.size()), nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, ansi.data(), Length(ansi.size()), wide.data(), units);
  return std::u16string(wide.begin(), wide.end());
}

// WideCharToMultiByte's flags differ by code page: UTF-8 (and UTF-7) take
// no default character and no used-default flag, and tell a lone surrogate
// only through WC_ERR_INVALID_CHARS; a few others (the ISO-2022 and ISCII
// pages, UTF-7, Symbol) take no flags at all. Every code page Windows offers
// as the ANSI one takes WC_NO_BEST_FIT_CHARS, which gives the default
// character where a look-alike would go (best fit turns "Γ" into "G").
std::optional<std::string> Win32System::ConvertToAnsi(std::u16string_view wide, bool exactly) {
  if (wide.empty()) return std::string();
  const UINT page = GetACP();
  const bool unicodePage = page == CP_UTF8 || page == CP_UTF7;
  DWORD flags = TakesNoFlags(page) ? 0 : WC_NO_BEST_FIT_CHARS;
  if (page == CP_UTF8) flags = exactly ? WC_ERR_INVALID_CHARS : 0;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultFlag = unicodePage ? nullptr : &usedDefault;
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int bytes = WideCharToMultiByte(CP_ACP, flags, units, Length(wide.size()), nullptr, 0, nullptr, usedDefaultFlag);
  if (bytes <= 0) return exactly ? std::nullopt : std::optional<std::string>(std::string());
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, flags, units, Length(wide.size()), ansi.data(), bytes, nullptr, usedDefaultFlag);
  if (!exactly) return ansi;
  // Where the page takes no used-default flag, the way back tells.
  if (usedDefault || AnsiToWide(ansi) != wide) return std::nullopt;
  return ansi;
}

std::string Win32System::WideToAnsi(std::u16string_view wide) { return *ConvertToAnsi(wide, false); }

std::optional<std::string> Win32System::WideToAnsiExactly(std::u16string_view wide) {
  return ConvertToAnsi(wide, true);
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
