// The programs keep every text in code page 932; the system is spoken to in
// UTF-16 so that it reads that text right whatever its own code page is.
#pragma once

#include <string>
#include <string_view>

namespace pendo {

// Code page 932 text as the system's wide functions take it.
std::wstring Wide(std::string_view text);

// UTF-16 from the system as code page 932; a character the code page cannot
// hold becomes '?'. For texts a user reads, where a near miss is harmless.
std::string Narrow(std::wstring_view text);

// The same, for names that must still lead to the same file or key: false
// (and out untouched) when a character has no code page 932 form.
bool NarrowExact(std::wstring_view text, std::string& out);

}  // namespace pendo
