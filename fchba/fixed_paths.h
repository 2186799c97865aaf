// Every fixed path of the program, and the shell command pieces that name one.
//
// The shipped program uses these paths exactly as written here, in its file
// accesses, its messages and the command lines it hands to the shell. Tests
// that link the libraries directly may move every absolute path under a
// scratch directory with SetTestRoot(); nothing else changes them (no
// environment variable or option is read for this). End-to-end tests run the
// real executable unchanged inside a private mount namespace instead.
//
// The header lives in the lowest library that needs a fixed path so that both
// the inventory and the component can use it and dependencies still point one
// way.
#ifndef FCHBA_FIXED_PATHS_H
#define FCHBA_FIXED_PATHS_H

#include <string>

namespace FixedPaths {

// Component log.
constexpr const char* kLogDir = "/var/vdl";
constexpr const char* kLogFile = "/var/vdl/Component.log";

// Lock file beside the log: a run holds an exclusive lock on it, so that runs
// on one host follow one another.
constexpr const char* kLockFile = "/var/vdl/fc-hba-update.lock";

// The lock file used instead where the one beside the log is not a safe one
// of the run's own (a file another user placed or can open, a symlink, a FIFO,
// a directory, a directory others may write to), or cannot be made: /run is
// root's alone, so nobody else can place or hold anything there.
constexpr const char* kSpareLockFile = "/run/fc-hba-update.lock";

// Reference file, relative to the working directory (never moved).
constexpr const char* kReferenceFile = "reference.xml";

// Distribution release files.
constexpr const char* kRedHatRelease = "/etc/redhat-release";
constexpr const char* kSuseRelease = "/etc/SuSE-release";

// HBA-API library registry.
constexpr const char* kHbaConf = "/etc/hba.conf";

// sysfs root searched for PCI attribute files.
constexpr const char* kSysRoot = "/sys";

// Fixed locations of the vendors' HBA management libraries, tried in order.
constexpr const char* kZelvokLibraries[3] = {
    "/usr/lib/libzvsdm.so", "/usr/lib64/libzvsdm-x86_64.so", "/lib/cim/libzvsdm.so"};
constexpr const char* kDazuduLibraries[3] = {"/usr/lib/libdzsdm.so", "/usr/lib64/libdzsdm.so",
                                             "/lib/cim/libdzsdm.so"};
constexpr const char* kMarqethLibraries[3] = {"/usr/lib/mqhbaapi.so", "/usr/lib64/mqhbaapi.so",
                                              "/lib/cim/mqhbaapi.so"};

// The path to use for one of the constants above: the constant itself in the
// shipped program; under a test root, an absolute path is prefixed with it.
std::string Resolve(const char* fixedPath);

// " 1>> LOG 2>> LOG 3>> LOG": appends a command's streams 1, 2 and 3 to the
// component log file.
std::string LogRedirection();

// "find /sys -name NAME": lists every file of that name under the sysfs root.
std::string SysfsFindCommand(const char* name);

// Test-only: moves every absolute path under root ("" restores the real
// paths). The shipped executable never calls it.
void SetTestRoot(const std::string& root);

}  // namespace FixedPaths

#endif
