// Runs shell commands: capturing the standard output, or ignoring the status.
#ifndef COMPONENT_RUN_COMMAND_H
#define COMPONENT_RUN_COMMAND_H

#include <string>

// The command's whole standard output, or "ERROR" when it cannot be started.
std::string RunCommand(const std::string& command);

// Runs the command through the shell (system) for its effect alone; whether it
// succeeded is not examined.
void RunIgnoringStatus(const std::string& command);

#endif
