// How a vendor component turns its flash engine's exit code into the
// component's exit code: a table of code ranges, each with the messages it
// logs. Every vendor component keeps one such table.
#ifndef COMPONENT_VENDORS_ENGINE_CODE_TABLE_H
#define COMPONENT_VENDORS_ENGINE_CODE_TABLE_H

#include <cstddef>

#include "component/logger.h"

// One row: the engine codes first to last (both included) give exitCode,
// after message and then advice are logged, each as one piece (a null text is
// not logged).
struct EngineCodeRule {
  // exitCode of a row whose engine codes reach the component unchanged.
  static constexpr int kEngineCodeItself = -1;

  int first;
  int last;
  int exitCode;
  const char* message = nullptr;
  const char* advice = nullptr;
};

class EngineCodeTable {
 public:
  template <std::size_t N>
  constexpr explicit EngineCodeTable(const EngineCodeRule (&rules)[N]) : rules_(rules), count_(N) {}

  // The component exit code for engineCode: that of the first row whose range
  // holds it, or engineCode itself when that row passes it through or no row
  // holds it.
  int ExitCode(int engineCode) const;
  // Logs the messages of that row, then returns ExitCode(engineCode).
  int Report(CLogger& log, int engineCode) const;

 private:
  const EngineCodeRule* RuleFor(int engineCode) const;
  // The exit code that rule (null: no row holds the code) gives engineCode.
  static int ExitCodeOf(const EngineCodeRule* rule, int engineCode);

  const EngineCodeRule* rules_;
  std::size_t count_;
};

#endif
