#pragma once

#include <string>

// vn10 itself is small and plain; what it needs beyond a quick hand-over lives in libraries
// loaded at run time from lib/vanisto/ beside bin/ (an install and the build tree alike):
//   libvanisto-start.so  start-up with Qt Core: the previous-instance test, Main and every
//                        hand-over the quick one leaves (see QuickHandOver.h);
//   libvanisto-gui.so    the first instance's windows (see WindowLibrary.h).
// Plain C++: vn10 uses this before any Qt library is loaded.
namespace ProgramLibraries {
// The start library's entries. `vanisto_start` runs start-up as a program's main would and
// returns the exit status; `vanisto_report_not_delivered` says that a quick hand-over was sent
// and not taken (nonzero: the first instance speaks another version) and returns the status.
using StartEntry = int (*)(int* argc, char** argv);
inline constexpr char StartEntryName[] = "vanisto_start";
using ReportEntry = int (*)(int otherVersion);
inline constexpr char ReportEntryName[] = "vanisto_report_not_delivered";

// The path of a library given relative to the folder of the program's own file, wherever the
// program was started from (a link, a relative path, PATH); empty when that file is unknown.
std::string beside(const char* relativePath);
} // namespace ProgramLibraries
