// The wizards' controls as component classes, registered once at start-up
// after the panels'.
#pragma once

namespace pendo {

void RegisterControlClasses();

}  // namespace pendo
