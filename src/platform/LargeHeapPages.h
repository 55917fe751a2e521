#pragma once
// A large drawing makes a heap of hundreds of megabytes, and each 4 KB page of it costs a page
// fault the first time it is touched; in a virtual machine those faults took more time than
// reading the drawing. glibc backs its heap with transparent huge pages (2 MB) when its
// "glibc.malloc.hugetlb" tunable asks for it, and it reads tunables only when a process starts.
// So a program that wants them starts itself once more with the tunable set, before it does
// anything else, and the restarted process puts the environment back as it found it, so that
// programs it starts in turn (a PDF viewer for a datasheet) see the user's own environment.
#include <optional>
#include <string>
#include <string_view>

// What GLIBC_TUNABLES should be for the restart, or nothing when the program should run as it is:
// the tunable is set already (by the user, or by us before the restart), the system's huge pages
// ("always [madvise] never" as the kernel lists them) are off or used for every mapping anyway,
// or a tool such as valgrind runs the program through LD_PRELOAD and would lose it at an exec.
std::optional<std::string> LargeHeapPagesTunables(const char* tunables, std::string_view hugePageModes,
                                                  const char* preload);

// Whether this program, started now, would restart itself: this C library knows the tunable,
// the program is not built with a sanitizer (which brings its own allocator) and the system's
// huge pages are on request.
bool LargeHeapPagesPossible();

// Call first in main: in the program restarted for huge pages it puts GLIBC_TUNABLES back as the
// user had it and returns true; anywhere else it does nothing and returns false.
bool EndLargeHeapPagesRestart();

// Restarts the program with main's argv and the tunable set, when that is possible and this is
// not the restarted program already. Returns only when the program goes on as it was started
// (also when the restart failed).
void RestartWithLargeHeapPages(char** argv);
