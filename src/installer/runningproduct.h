// Whether a program of the product is running, asked before an installation
// or removal writes or deletes anything, so that nothing is half replaced.
#pragma once

#include <string>
#include <vector>

#include "installer/scriptformat.h"

namespace pendo {

// What is running, for the message and the log: the program whose instance
// lock is held, or else the first installed file of the list that cannot be
// opened for writing (a program of another session, a file held open).
// Empty when nothing is. prefix is the installation folder with its '\'.
std::string FindRunningProduct(const std::string& prefix, const std::vector<tbinditem>& files);

}  // namespace pendo
