// Runs a probe program, a test program on the runtime that plays one scenario, as a separate
// process: PROGRAM.exe SCENARIO OUTPUT-FILE, started from the temporary directory. The probe
// writes one event a line (probe_events.h); message boxes come back as three events.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::testing {

struct ProbeRun {
  DWORD exitCode = 0;
  std::vector<std::string> events;  // message boxes as "box", caption, text in UTF-8
};

// The probe is PROGRAM.exe beside the test program.
ProbeRun runProbe(const std::wstring& program, const std::wstring& scenario);

}  // namespace velmora::testing
