// Names and values as the game compares them: ASCII case, the blanks a person types around them.
#pragma once

#include <string>
#include <string_view>

namespace qj {

// ASCII letters only: names, keys and extensions are ASCII, and the bytes of UTF-8 text are
// never letters of another case.
char Lower(char c);
std::string Lower(std::string s);
std::string Upper(std::string s);
// Spaces and tabs dropped at both ends. Line ends are gone already (ReadTextLines); any other
// control character stays, so a damaged value is still seen as damaged.
std::string Trim(std::string_view s);
// Equal without regard to ASCII case, as file names and INI keys are on Windows; the whole
// length counts, a NUL byte included.
bool SameName(std::string_view a, std::string_view b);
// The first `mark` ("%1") of a language line replaced by `value`; a line without it stays as it is.
std::string FillIn(std::string text, std::string_view mark, std::string_view value);

}  // namespace qj
