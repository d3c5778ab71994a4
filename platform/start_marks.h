#pragma once

namespace rpn {

// Start-up timing for bench/start_marks.sh. Off unless the environment
// variable RPN_START_MARKS holds the CLOCK_MONOTONIC time, in nanoseconds,
// at which the launcher started the program; then each mark records the
// time since, and the report prints them to standard error once. Off, a
// mark costs one test of a flag.
void StartMark(const char* what);
// Prints the marks once, after the first complete frame.
void ReportStartMarks();
bool StartMarksOn();

}  // namespace rpn
