// The probe program's side of a probe run (probe_process.h): its scenario from the command line,
// and the events it writes, one a line, to the output file.
#pragma once

#include <string>

#include "tests/support/message_box_recorder.h"

namespace velmora::testing {

// Reads PROGRAM SCENARIO OUTPUT-FILE; returns the scenario.
std::wstring readProbeCommandLine();
void writeEvent(const std::string& event);
// A message box as "box CAPTION TEXT", the texts as hexadecimal UTF-8 so that their line breaks
// stay unambiguous.
void writeMessageBox(const ShownMessageBox& box);

}  // namespace velmora::testing
