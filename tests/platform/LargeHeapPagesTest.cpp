// Restarting with huge heap pages: when it is asked for, and a real restart of a small probe
// program that reports what the restarted program sees.
#include "platform/LargeHeapPages.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <optional>
#include <string>

namespace {

TEST(LargeHeapPages, TunablesForTheRestart) {
    const std::string modes = "always [madvise] never\n";
    struct TCase {
        const char* Tunables;
        std::string Modes;
        const char* Preload;
        std::optional<std::string> Expected;
    };
    const TCase cases[] = {
        {nullptr, modes, nullptr, "glibc.malloc.hugetlb=1"},
        {"", modes, "", "glibc.malloc.hugetlb=1"},
        // The user's own tunables are kept, ours comes after them.
        {"glibc.malloc.arena_max=2", modes, nullptr, "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"},
        // Set already: by the user (who may want it off), or by us before the restart.
        {"glibc.malloc.hugetlb=0", modes, nullptr, std::nullopt},
        {"glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1", modes, nullptr, std::nullopt},
        // Huge pages for every mapping anyway, none at all, or a kernel without them.
        {nullptr, "[always] madvise never\n", nullptr, std::nullopt},
        {nullptr, "always madvise [never]\n", nullptr, std::nullopt},
        {nullptr, "", nullptr, std::nullopt},
        // valgrind would not follow the restart.
        {nullptr, modes, "/usr/libexec/valgrind/vgpreload_memcheck-amd64-linux.so", std::nullopt},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(LargeHeapPagesTunables(c.Tunables, c.Modes, c.Preload), c.Expected)
            << (c.Tunables ? c.Tunables : "(unset)") << " / " << c.Modes << " / "
            << (c.Preload ? c.Preload : "");
}

std::string RunProbe(const std::string& environment) {
    const std::string command =
        "env " + environment + " '" KORVANE_LARGE_HEAP_PAGES_PROBE "' 'an argument with spaces'";
    std::string output;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), int(buffer.size()), p))
            output += buffer.data();
        EXPECT_EQ(::pclose(p), 0) << command;
    }
    return output;
}

TEST(LargeHeapPages, RestartedProgramSeesTheEnvironmentItWasStartedWith) {
    const bool possible = LargeHeapPagesPossible();
    const std::string restarted = possible ? "restarted=1\n" : "restarted=0\n";
    const std::string huge = possible ? "huge-heap=1\n" : "huge-heap=0\n";
    EXPECT_EQ(RunProbe("-u GLIBC_TUNABLES"), restarted +
                                                 "tunables=(unset)\nmarker=unset\n"
                                                 "last-argument=an argument with spaces\n" +
                                                 huge);
    EXPECT_EQ(RunProbe("GLIBC_TUNABLES=glibc.malloc.arena_max=4"),
              restarted +
                  "tunables=glibc.malloc.arena_max=4\nmarker=unset\n"
                  "last-argument=an argument with spaces\n" +
                  huge);
    // Asked not to: no restart, no huge pages.
    EXPECT_EQ(RunProbe("GLIBC_TUNABLES=glibc.malloc.hugetlb=0"),
              "restarted=0\ntunables=glibc.malloc.hugetlb=0\nmarker=unset\n"
              "last-argument=an argument with spaces\nhuge-heap=0\n");
}

} // namespace
