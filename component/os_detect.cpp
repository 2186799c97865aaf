// Distribution detection from the release files. The name is kept in the
// discovery data's OS head; the patterns must match the whole release text,
// and with dot-matches-all their trailing ".*" also takes further lines.
#include <sys/stat.h>

#include "component/base_cmp.h"
#include "fchba/fixed_paths.h"
#include "regex/pattern.h"
#include "component/run_command.h"

namespace {

struct ReleasePattern {
  const char* pattern;
  const wchar_t* osName;
};

const ReleasePattern kRedHatPatterns[] = {
    {"Red Hat Enterprise Linux.*release 4.*", L"rhel4"},
    {"Red Hat Enterprise Linux.*release 5.*", L"rhel5"},
    {"Red Hat Enterprise Linux.*release 6.*", L"rhel6"},
};

const ReleasePattern kSusePatterns[] = {
    {"SUSE Linux Enterprise Server 10.*", L"sles10"},
    {"SUSE Linux Enterprise Server 11.*", L"sles11"},
};

constexpr unsigned long kReleaseFlags = Pattern::DOT_MATCHES_ALL | Pattern::MULTILINE_MATCHING;

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

// Reads the release file through the shell and sets osName from the first
// pattern that matches its whole text; leaves it alone when none does.
template <std::size_t N>
void Recognise(const std::string& path, const ReleasePattern (&patterns)[N], std::wstring& osName) {
  const std::string text = RunCommand("cat " + path);
  for (const ReleasePattern& release : patterns) {
    if (Pattern::MatchesStatic(release.pattern, text, kReleaseFlags)) {
      osName = release.osName;
      return;
    }
  }
}

}  // namespace

// Only one release file is read: the Red Hat file when it exists, otherwise
// the SuSE file.
int CBaseCmp::DetectOs() {
  const std::string redHat = FixedPaths::Resolve(FixedPaths::kRedHatRelease);
  const std::string suse = FixedPaths::Resolve(FixedPaths::kSuseRelease);
  if (FileExists(redHat)) {
    Recognise(redHat, kRedHatPatterns, discovery.os.osName);
  } else if (FileExists(suse)) {
    Recognise(suse, kSusePatterns, discovery.os.osName);
  }
  return 0;
}
