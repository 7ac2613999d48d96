// File-name matching with * and ? as wildcards, the way the Windows file
// system does it; letter case is folded where the system folds it (Windows),
// and compared exactly where names are exact (POSIX).
#pragma once

#include <string>
#include <string_view>

namespace sympack::platform {

// Simple case folding for the characters a name in the ANSI code page can hold
// (ASCII, Latin-1 and the Windows-1252 extras).
char16_t FoldCase(char16_t unit);

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b);

enum class LetterCase { kFolded, kExact };

// True when `name` matches `pattern`: * stands for any run of characters, ?
// for any one character, all else compares by `letterCase`. "*.*" matches
// every name, dotted or not, as on Windows.
bool MatchesNamePattern(std::u16string_view name, std::u16string_view pattern,
                        LetterCase letterCase = LetterCase::kFolded);

bool HasWildcards(std::u16string_view name);

// The name a file is created under when the path typed is `path`: Win32 path
// normalisation drops every trailing dot and blank of a path that does not
// end in a separator ("File path formats on Windows systems", Microsoft
// Learn), so "dot.inc." writes dot.inc. A path that would be left with no
// last part (".", "a\\ .") stays as typed.
std::u16string_view NormalisedWindowsName(std::u16string_view path);

}  // namespace sympack::platform
