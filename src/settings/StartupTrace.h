#pragma once

// With QUORBROWSER_STARTUP_TRACE=1 in the environment, each step of the start is written to
// standard error with the milliseconds since the process was started, to see what stands
// between starting the program and its first page. Otherwise a step costs one test of a flag.
inline constexpr char StartupTraceVariable[] = "QUORBROWSER_STARTUP_TRACE";

bool StartupTracing();
void TraceStartup(const char *step);
