// The framework's own component classes (labels, buttons, menus, timers...),
// registered once at a program's start, before any form is read.
#pragma once

namespace pendo {

void RegisterFrameworkClasses();

}  // namespace pendo
