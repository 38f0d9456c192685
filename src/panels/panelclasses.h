// The gauge panels as component classes, registered once at start-up after
// the framework's.
#pragma once

namespace pendo {

void RegisterPanelClasses();

}  // namespace pendo
