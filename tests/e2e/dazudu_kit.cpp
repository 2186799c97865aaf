#include <filesystem>
#include <fstream>

#include "tests/e2e/harness.h"
#include "tests/e2e/process.h"
#include "tests/support/files.h"
#include "tests/support/scratch_dir.h"

namespace fs = std::filesystem;

namespace e2e {

#ifndef E2E_FIXTURES_DIR
#error "E2E_FIXTURES_DIR must name tests/fixtures"
#endif

std::string DazuduFixtureDir() { return std::string(E2E_FIXTURES_DIR) + "/dazudu"; }

std::string DazuduKit::ZipName() const { return "dzflashStandalone" + version + ".zip"; }

std::string DazuduKit::CallsLog() const { return "dzflashStandalone" + version + "/lx/calls.log"; }

std::string DazuduKit::QueryText() const {
  if (query_output) return *query_output;
  std::string text;
  for (const std::string& line : query_lines) text += line + "\n";
  return text;
}

std::string DazuduKit::BuildZip(const std::string& dir) const {
  const std::string top = "dzflashStandalone" + version;
  const fs::path stage = fs::path(dir) / "kit-stage";
  const fs::path lx = stage / top / "lx";
  std::error_code ec;
  fs::create_directories(lx, ec);
  if (ec) return "";
  // The engine script stays non-executable in the archive: the component
  // makes it executable itself after unpacking.
  // A recording kit's engine wraps the plain simulation, which it runs with sh.
  const std::string plain = recording ? "simulated_dzflash.sh" : "dzflash.sh";
  fs::copy_file(DazuduFixtureDir() + "/dzflash.sh", lx / plain,
                fs::copy_options::overwrite_existing, ec);
  if (!ec && recording)
    fs::copy_file(DazuduFixtureDir() + "/recording_dzflash.sh", lx / "dzflash.sh",
                  fs::copy_options::overwrite_existing, ec);
  if (ec) return "";
  fs::permissions(lx / "dzflash.sh", fs::perms(0644), ec);
  {
    std::ofstream q(lx / "query.txt", std::ios::binary);
    const std::string text = QueryText();
    q.write(text.data(), static_cast<std::streamsize>(text.size()));
    std::ofstream rc(lx / "update_rc");
    rc << update_rc << "\n";
    if (!q || !rc) return "";
  }
  const std::string zip = (fs::path(dir) / ZipName()).string();
  const ProcessResult r = RunProcess({"zip", "-q", "-r", "-X", zip, top}, stage.string(), 60);
  fs::remove_all(stage, ec);
  if (!r.started || r.exit_code != 0) return "";
  return zip;
}

void DazuduKit::AddTo(Scenario& scenario) const {
  test_support::ScratchDir dir("/tmp", "fchba-kit-");
  const std::string zip = dir.ok() ? BuildZip(dir.path()) : "";
  if (zip.empty()) {
    ADD_FAILURE() << "e2e: cannot build " << ZipName() << " (is the zip tool installed?)";
    return;
  }
  scenario.work_files.push_back({ZipName(), test_support::ReadFile(zip), 0644});
}

}  // namespace e2e
