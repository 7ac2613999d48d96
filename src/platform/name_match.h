// File names as Windows takes them: letter case folded (for the lookups
// that fold it on every system, as cmd.exe's program search), wildcards, and
// the trailing dots and blanks a created name loses.
#pragma once

#include <string>
#include <string_view>

namespace sympack::platform {

// Simple case folding for the characters a name in the ANSI code page can hold
// (ASCII, Latin-1 and the Windows-1252 extras).
char16_t FoldCase(char16_t unit);

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

// True when the name holds * or ?, which a directory search would take as
// wildcards.
bool HasWildcards(std::u16string_view name);

// The name a file is created under when the path typed is `path`: Win32 path
// normalisation drops every trailing dot and blank of a path that does not
// end in a separator ("File path formats on Windows systems", Microsoft
// Learn), so "dot.inc." writes dot.inc. A path that would be left with no
// last part (".", "a\\ .") stays as typed.
std::u16string_view NormalisedWindowsName(std::u16string_view path);

// True when the last part of `path` is a Windows device name (CON, PRN, AUX,
// NUL, COM0 to COM9, LPT0 to LPT9, COM and LPT with a superscript 1, 2 or 3,
// CONIN$, CONOUT$) in any letter case, blanks after it aside, followed by an
// extension: "Naming Files, Paths, and Namespaces" (Microsoft Learn) has
// NUL.txt and NUL.tar.gz stand for NUL. Such a name looks like a file's and
// is the device. The bare name is not counted: it says what it is.
bool IsDeviceNameWithExtension(std::u16string_view path);

}  // namespace sympack::platform
