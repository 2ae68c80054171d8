#include "app/ProgramLibraries.h"
#include "app/QuickHandOver.h"

#include <cstdio>
#include <dlfcn.h>

// vn10 loads no Qt library of its own: most launches only hand their paths to the running
// instance, and do it quickest in plain C++. The start library, and from it the windows, are
// loaded only for what the quick hand-over leaves.
int main(int argc, char** argv)
{
    const QuickHandOverResult quick = QuickHandOver(argc, argv);
    if (quick == QuickHandOverResult::Delivered)
        return 0;

    const std::string path = ProgramLibraries::beside(VANISTO_START_LIBRARY);
    // Every symbol is bound now: a library that does not fit this program fails here.
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    const bool start = quick == QuickHandOverResult::NotTried;
    void* entry = library ? ::dlsym(library, start ? ProgramLibraries::StartEntryName
                                                   : ProgramLibraries::ReportEntryName)
                          : nullptr;
    if (!entry) {
        std::fprintf(stderr, "vn10: the program's library cannot be loaded: %s\n", ::dlerror());
        return 1;
    }
    if (start)
        return reinterpret_cast<ProgramLibraries::StartEntry>(entry)(&argc, argv);
    return reinterpret_cast<ProgramLibraries::ReportEntry>(entry)(quick == QuickHandOverResult::OtherVersion);
}
