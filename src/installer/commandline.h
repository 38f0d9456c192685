#pragma once

#include <string>

namespace pendo {

// The program's parameters joined with single blanks (empty without any).
std::string GetCommandLineText();

// Lets the message loop handle every waiting message (repaints, input).
void ProcessPendingMessages();

}  // namespace pendo
