// Distribution detection from the release files of a scratch root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "component/base_cmp.h"
#include "fchba/fixed_paths.h"
#include "tests/component/scratch.h"

namespace {

namespace fs = std::filesystem;

struct ReleaseCase {
  const char* name;
  std::optional<std::string> redHat;  // nullopt: no /etc/redhat-release
  std::optional<std::string> suse;    // nullopt: no /etc/SuSE-release
  const wchar_t* osName;
};

void PrintTo(const ReleaseCase& c, std::ostream* os) { *os << c.name; }

const ReleaseCase kReleaseCases[] = {
    {"NoReleaseFile", std::nullopt, std::nullopt, L""},
    {"Rhel4", "Red Hat Enterprise Linux AS release 4 (Nahant Update 9)\n", std::nullopt, L"rhel4"},
    {"Rhel5", "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\n", std::nullopt, L"rhel5"},
    {"Rhel6", "Red Hat Enterprise Linux Server release 6.4 (Santiago)\n", std::nullopt, L"rhel6"},
    {"Rhel6NoLineEnd", "Red Hat Enterprise Linux Workstation release 6.0 (Santiago)", std::nullopt,
     L"rhel6"},
    {"Rhel5CrLf", "Red Hat Enterprise Linux Server release 5.3 (Tikanga)\r\n", std::nullopt,
     L"rhel5"},
    {"RhelAnotherDigitAfterFour", "Red Hat Enterprise Linux Server release 45\n", std::nullopt,
     L"rhel4"},
    {"Rhel7NotKnown", "Red Hat Enterprise Linux Server release 7.0 (Maipo)\n", std::nullopt, L""},
    {"RhelMultiLine",
     "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\nKernel \\r on an \\m\n\n",
     std::nullopt, L"rhel5"},
    {"RhelWordsOnSecondLine", "Welcome\nRed Hat Enterprise Linux Server release 5.8\n",
     std::nullopt, L""},
    {"DerivedCentos", "CentOS release 5.8 (Final)\n", std::nullopt, L""},
    {"DerivedScientific", "Scientific Linux release 6.1 (Carbon)\n", std::nullopt, L""},
    {"DerivedWithRedHatWordsLater",
     "CentOS Linux, built from Red Hat Enterprise Linux release 6.2\n", std::nullopt, L""},
    {"LeadingBlank", " Red Hat Enterprise Linux Server release 5.8\n", std::nullopt, L""},
    {"EmptyRedHatFile", "", std::nullopt, L""},
    {"Sles10", std::nullopt,
     "SUSE Linux Enterprise Server 10 (x86_64)\nVERSION = 10\nPATCHLEVEL = 4\n", L"sles10"},
    {"Sles11", std::nullopt,
     "SUSE Linux Enterprise Server 11 (x86_64)\nVERSION = 11\nPATCHLEVEL = 2\n", L"sles11"},
    {"Sles9NotKnown", std::nullopt, "SUSE LINUX Enterprise Server 9 (i586)\nVERSION = 9\n", L""},
    {"SuseDesktop", std::nullopt, "SUSE Linux Enterprise Desktop 11 (x86_64)\nVERSION = 11\n", L""},
    {"OpenSuse", std::nullopt, "openSUSE 11.4 (x86_64)\nVERSION = 11.4\n", L""},
    {"BothFilesRedHatWins", "Red Hat Enterprise Linux Server release 5.8 (Tikanga)\n",
     "SUSE Linux Enterprise Server 11 (x86_64)\n", L"rhel5"},
    {"BothFilesOnlyRedHatRead", "CentOS release 5.8 (Final)\n",
     "SUSE Linux Enterprise Server 11 (x86_64)\n", L""},
    {"EmptyRedHatFileHidesSuse", "", "SUSE Linux Enterprise Server 10 (x86_64)\n", L""},
};

class DetectOsTest : public ::testing::TestWithParam<ReleaseCase> {
 protected:
  // Writes a release file under the scratch root; nullopt leaves it absent.
  static void WriteRelease(const char* fixedPath, const std::optional<std::string>& text) {
    if (!text) return;
    const fs::path path = FixedPaths::Resolve(fixedPath);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << *text;
  }
  Scratch scratch_;
};

TEST_P(DetectOsTest, SetsTheNameOfTheRecognisedDistribution) {
  const ReleaseCase& c = GetParam();
  WriteRelease(FixedPaths::kRedHatRelease, c.redHat);
  WriteRelease(FixedPaths::kSuseRelease, c.suse);
  CBaseCmp component;
  EXPECT_EQ(component.DetectOs(), 0);
  EXPECT_EQ(component.discovery.os.osName, c.osName);
}

INSTANTIATE_TEST_SUITE_P(Releases, DetectOsTest, ::testing::ValuesIn(kReleaseCases),
                         RowName<ReleaseCase>);

}  // namespace
