// FindInstanceProcess: the running copy of this program, found by its executable's file name in
// /proc. Only the user's own processes count (the instance lock and local server are per user),
// and the searching process never finds itself.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <string>
#include <string_view>

namespace qx::app {

// Where and as whom the search looks; tests point it at a made-up /proc.
struct ProcessTable {
    std::string procRoot = "/proc";
    pid_t self = ::getpid();
    uid_t user = ::getuid();
};

// The file name of process `pid`'s executable ("qx480-driver"); empty when it cannot be read.
// A file replaced while the process runs ("... (deleted)") still counts under its name.
std::string ExecutableFileNameOf(pid_t pid, const std::string& procRoot = "/proc");

// The lowest process id other than the searching process whose executable's file name equals
// `programFileName` without regard to letter case, among the user's processes; 0 when none.
pid_t FindInstanceProcess(std::string_view programFileName, const ProcessTable& table = {});

}  // namespace qx::app
