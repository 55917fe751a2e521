#include "platform/LargeHeapPages.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <unistd.h>
#ifdef __GLIBC__
#include <gnu/libc-version.h>
#endif

namespace {

constexpr std::string_view HugeTlbTunable = "glibc.malloc.hugetlb";
// Set only between the exec and the restarted program's first step; holds what GLIBC_TUNABLES
// was before: "set:" and the value, or "unset".
constexpr const char* RestartMarker = "KORVANE_LARGE_HEAP_PAGES_RESTART";

bool BuiltWithSanitizer() {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

bool LibraryKnowsTunable() {
#ifdef __GLIBC__
    // The tunable came with glibc 2.35; older libraries ignore it, and the restart would be for nothing.
    int major = 0, minor = 0;
    if (std::sscanf(gnu_get_libc_version(), "%d.%d", &major, &minor) != 2) return false;
    return major > 2 || (major == 2 && minor >= 35);
#else
    return false;
#endif
}

bool gRestarted = false;

std::string SystemHugePageModes() {
    std::ifstream in("/sys/kernel/mm/transparent_hugepage/enabled");
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

std::optional<std::string> LargeHeapPagesTunables(const char* tunables, std::string_view hugePageModes,
                                                  const char* preload) {
    const std::string_view current = tunables ? tunables : "";
    if (current.find(HugeTlbTunable) != std::string_view::npos) return std::nullopt;
    if (hugePageModes.find("[madvise]") == std::string_view::npos) return std::nullopt;
    if (preload && std::string_view(preload).find("vgpreload") != std::string_view::npos) return std::nullopt;
    std::string result(current);
    if (!result.empty()) result += ':';
    result += HugeTlbTunable;
    result += "=1";
    return result;
}

bool LargeHeapPagesPossible() {
    return !BuiltWithSanitizer() && LibraryKnowsTunable() &&
           SystemHugePageModes().find("[madvise]") != std::string::npos;
}

bool EndLargeHeapPagesRestart() {
    const char* before = std::getenv(RestartMarker);
    if (!before) return gRestarted;
    const std::string saved = before;
    if (saved.starts_with("set:"))
        ::setenv("GLIBC_TUNABLES", saved.substr(4).c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
    ::unsetenv(RestartMarker);
    gRestarted = true;
    return true;
}

void RestartWithLargeHeapPages(char** argv) {
    // Never twice: the restored environment no longer holds the tunable.
    if (EndLargeHeapPagesRestart()) return;
    if (!argv || !argv[0] || BuiltWithSanitizer() || !LibraryKnowsTunable()) return;
    const char* current = std::getenv("GLIBC_TUNABLES");
    const auto wanted = LargeHeapPagesTunables(current, SystemHugePageModes(), std::getenv("LD_PRELOAD"));
    if (!wanted) return;
    // A copy: setenv may replace the string getenv pointed to.
    const std::optional<std::string> tunables = current ? std::optional<std::string>(current) : std::nullopt;
    const std::string saved = tunables ? "set:" + *tunables : "unset";
    ::setenv(RestartMarker, saved.c_str(), 1);
    ::setenv("GLIBC_TUNABLES", wanted->c_str(), 1);
    ::execv("/proc/self/exe", argv);
    // The program could not be started again (no /proc): it goes on with small pages.
    if (tunables)
        ::setenv("GLIBC_TUNABLES", tunables->c_str(), 1);
    else
        ::unsetenv("GLIBC_TUNABLES");
    ::unsetenv(RestartMarker);
}
