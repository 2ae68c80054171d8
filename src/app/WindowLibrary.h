#pragma once

class QLockFile;

// The first instance's windows live in a library of their own, libvanisto-gui.so, which vn10
// loads only when it is the first instance: a later launch, which only hands its paths over,
// then loads neither Qt Gui nor Qt Widgets nor the fifty libraries they bring. The library
// lies beside the program as an install lays them out (lib/vanisto/ next to bin/), and the
// build tree the same way.
namespace WindowLibrary {
// The library's one entry: runs the first instance to its end and returns its exit status.
// `lock` is the instance lock this process already took (null when none could be made): the
// library has its own copy of the relay, which carries on with it, so there is no moment in
// which another launch could take over.
using Entry = int (*)(int* argc, char** argv, QLockFile* lock);
inline constexpr char EntryName[] = "vanisto_first_instance";

// In the first instance: loads the library and runs it. When it cannot be loaded (a broken
// install), says so on standard error and in the error log and returns 1.
int runFirstInstance(int& argc, char** argv);
} // namespace WindowLibrary
