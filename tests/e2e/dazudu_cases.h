// Shared pieces of the Dazudu end-to-end suites: the fixture cases under
// tests/fixtures/dazudu/cases, the transcript every run starts with and what
// the simulated engine writes in update mode.
#ifndef E2E_DAZUDU_CASES_H
#define E2E_DAZUDU_CASES_H

#include <string>
#include <vector>

#include "tests/e2e/harness.h"
#include "tests/support/files.h"
#include "tests/support/transcript.h"

namespace dazudu_cases {

inline std::string CaseFile(const std::string& caseName, const std::string& file) {
  return test_support::ReadFile(e2e::DazuduFixtureDir() + "/cases/" + caseName + "/" + file);
}

// The reference file shared by the cases.
inline std::string Reference() {
  return test_support::ReadFile(e2e::DazuduFixtureDir() + "/cases/reference.xml");
}

// A scenario with the shared reference file and a kit whose query mode
// prints the given output.
inline e2e::Scenario KitScenario(const std::string& queryOutput) {
  e2e::Scenario s;
  s.reference = Reference();
  e2e::DazuduKit kit;
  kit.query_output = queryOutput;
  kit.AddTo(s);
  return s;
}

// One adapter with an upgrade pending, an engine that succeeds and records
// its calls; its calls.log comes back.
inline e2e::Scenario RecordingUpgradeScenario(const std::vector<std::string>& args) {
  e2e::Scenario s;
  s.reference = Reference();
  s.args = args;
  e2e::DazuduKit kit{{"HBA=DZe16002-M6, PCI ID=E260, VID=10DF, SSID=E260, SVID=10DF, "
                      "Firmware=11.1.0.1, Boot Code=UB11.2.1.0"},
                     0};
  kit.recording = true;
  kit.AddTo(s);
  s.read_back = {kit.CallsLog()};
  return s;
}

// A file the run left behind, or a marker that cannot be mistaken for one.
inline std::string FileOf(const e2e::Outcome& outcome, const std::string& name) {
  const auto found = outcome.files.find(name);
  return found == outcome.files.end() ? "<missing " + name + ">" : found->second;
}

// What every run that reaches discovery writes first.
inline test_support::Transcript Discovered() {
  return test_support::Transcript().Begin().Loaded().DazuduKit();
}

// The simulated engine's last line in update mode.
inline std::string EngineFinished(int code) {
  return "dzflash: finished with status " + std::to_string(code) + "\n";
}

// What the simulated engine (tests/fixtures/dazudu/dzflash.sh) appends to the
// log in update mode, called with args, when it ends with code.
inline std::string EngineOutput(const std::string& args, int code) {
  return "dzflash: flashing adapters (" + args + ")\n" +
         "dzflash: progress report on standard error\n" +
         "dzflash: status report on descriptor 3\n" + EngineFinished(code);
}

// A run that reaches the flash in mode ("/update", or "/f" when forced), up to
// the simulated engine's exit code; the result and "Flash complete" follow.
inline test_support::Transcript Flashing(const std::string& mode, int engineCode) {
  return Discovered().FlashBegins().Engine(test_support::dazudu::FlashCommand(mode),
                                           EngineOutput("/fc " + mode, engineCode), engineCode);
}

}  // namespace dazudu_cases

#endif
