#pragma once

namespace tavrin {

// The tavrin program: parses the command line, runs the command, returns the exit status
// (0 done, 1 the run failed, 2 usage or file error).
int RunProgram(int argc, char** argv);

}  // namespace tavrin
