#pragma once
// Helper programs started from tests and benchmarks (real servers, peer clients): started with
// their output going to a file, waited for with a time limit, and ended without leaving
// processes behind.
#include <sys/resource.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace larkspin::test_support {

// Starts argv[0] (looked up in PATH) with stdin from /dev/null and stdout and stderr appended to
// output_path. The child gets SIGTERM when the calling thread ends, so it never outlives a test
// that crashed. Returns the child's id, or -1 when it could not be forked; a program that cannot
// be run exits with status 127.
pid_t StartProcess(const std::vector<std::string>& argv, const std::string& output_path);

// Waits at most timeout_ms for the child to end and reaps it; false while it still runs. Fills
// status (as from waitpid) and usage (its resources, e.g. ru_maxrss) when given.
bool WaitForExit(pid_t child, int timeout_ms, int* status = nullptr, rusage* usage = nullptr);

// Sends SIGTERM, waits at most grace_ms, then SIGKILL; reaps the child in every case.
void EndProcess(pid_t child, int grace_ms);

// The processes whose parent is pid (from /proc).
std::vector<pid_t> ChildProcessesOf(pid_t pid);

// Waits at most timeout_ms until none of the processes runs any more (a zombie counts as ended);
// kills those left at the end. False when some had to be killed.
bool WaitUntilGone(const std::vector<pid_t>& processes, int timeout_ms);

}  // namespace larkspin::test_support
