// Where Pendo's start-up time goes, phase by phase: a trace compiled only
// into the bench build (the win32-trace preset, PENDO_STARTUP_TRACE), never
// into the programs users get, where every call below is empty.
//
// Each phase is a reading of the performance counter, which all processes
// share, so that a launcher that reads it just before starting the program
// can place the phases from the process's start. The trace ends with the
// first paint of the main form and is then written, one "ticks<TAB>phase"
// line each after a "frequency" line, to startup-trace.txt beside the
// program.
#pragma once

namespace pendo {

class twincontrol;

#ifdef PENDO_STARTUP_TRACE
inline constexpr bool kStartupTrace = true;
#else
inline constexpr bool kStartupTrace = false;
#endif

void RecordStartupPhase(const char* phase);
void RecordStartupPaint(const twincontrol* window, const char* phase, bool last);

inline void TraceStartup(const char* phase) {
  if constexpr (kStartupTrace) RecordStartupPhase(phase);
}
// A step of a paint, counted only for the main form's first one.
inline void TraceStartupPaint(const twincontrol* window, const char* phase, bool last = false) {
  if constexpr (kStartupTrace) RecordStartupPaint(window, phase, last);
}

}  // namespace pendo
