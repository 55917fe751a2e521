// Started by LargeHeapPagesTest: restarts itself as the viewer does, fills some heap, and reports
// on stdout what the program it became sees: whether it was restarted, its environment, its last
// argument, and whether its heap asks the kernel for huge pages.
#include "platform/LargeHeapPages.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

bool HeapAdvisedHuge() {
    std::ifstream smaps("/proc/self/smaps");
    bool inHeap = false;
    for (std::string line; std::getline(smaps, line);) {
        if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
            line.find('-') != std::string::npos)
            inHeap = line.ends_with("[heap]");
        else if (inHeap && line.starts_with("VmFlags:") && (line + " ").find(" hg ") != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const bool restarted = EndLargeHeapPagesRestart();
    RestartWithLargeHeapPages(argv);
    // Small blocks, as a drawing's objects are: they come from the heap, not from mappings of their own.
    std::vector<std::unique_ptr<char[]>> blocks;
    for (int i = 0; i < 16384; ++i)
        blocks.emplace_back(new char[1024]());
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    std::cout << "restarted=" << restarted << "\n"
              << "tunables=" << (tunables ? tunables : "(unset)") << "\n"
              << "marker=" << (std::getenv("KORVANE_LARGE_HEAP_PAGES_RESTART") ? "set" : "unset") << "\n"
              << "last-argument=" << argv[argc - 1] << "\n"
              << "huge-heap=" << HeapAdvisedHuge() << "\n";
    return 0;
}
