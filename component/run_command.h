// Runs a shell command and captures its standard output.
#ifndef COMPONENT_RUN_COMMAND_H
#define COMPONENT_RUN_COMMAND_H

#include <string>

// The command's whole standard output, or "ERROR" when it cannot be started.
std::string RunCommand(const std::string& command);

#endif
