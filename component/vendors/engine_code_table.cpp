#include "component/vendors/engine_code_table.h"

#include <string>

const EngineCodeRule* EngineCodeTable::RuleFor(int engineCode) const {
  for (std::size_t i = 0; i < count_; ++i) {
    if (engineCode >= rules_[i].first && engineCode <= rules_[i].last) return &rules_[i];
  }
  return nullptr;
}

int EngineCodeTable::ExitCodeOf(const EngineCodeRule* rule, int engineCode) {
  if (rule == nullptr || rule->exitCode == EngineCodeRule::kEngineCodeItself) return engineCode;
  return rule->exitCode;
}

int EngineCodeTable::ExitCode(int engineCode) const {
  return ExitCodeOf(RuleFor(engineCode), engineCode);
}

int EngineCodeTable::Report(CLogger& log, int engineCode) const {
  const EngineCodeRule* rule = RuleFor(engineCode);
  if (rule != nullptr && rule->message != nullptr) log << std::string(rule->message);
  if (rule != nullptr && rule->advice != nullptr) log << std::string(rule->advice);
  return ExitCodeOf(rule, engineCode);
}
