// Every component class Pendo's descriptions name: each library's, in the
// order the libraries stand on each other, then Pendo's own. Called once, at
// start-up, by Pendo and by the test programs, before any form is read.
#pragma once

namespace pendo {

void RegisterPendoClasses();

}  // namespace pendo
