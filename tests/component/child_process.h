// A step of a test run in a child process of its own: for what changes the
// whole process (signal dispositions, the file-creation mask, resource
// limits) or may end it.
#ifndef TESTS_COMPONENT_CHILD_PROCESS_H
#define TESTS_COMPONENT_CHILD_PROCESS_H

#include <functional>
#include <string>

struct ChildResult {
  int exitCode = -1;  // 128 + N when killed by signal N
  std::string said;   // what it wrote to its report pipe
};

// Runs body in a child process with a report pipe; body's result is the
// child's exit code.
ChildResult RunInChild(const std::function<int(int report)>& body);

// Writes text to the report pipe.
void Say(int report, const std::string& text);

#endif
