#pragma once

namespace tavrin {

// The tavrin program: parses the command line, runs the command, returns the exit status
// (0 the run finished, 1 it stopped before finishing or failed, 2 usage or file error).
int RunProgram(int argc, char** argv);

}  // namespace tavrin
