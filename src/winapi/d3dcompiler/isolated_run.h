// Work that may end its process, run in a child process of its own.
#pragma once

#include <functional>
#include <string>

namespace halvo::d3dcompiler {

struct IsolatedOutcome {
  bool finished = false;  // the work returned and its answer came back whole
  int signal = 0;         // the signal that ended the child, 0 when none did
  std::string answer;     // what the work returned
};

// Runs work in a forked child and hands back its answer through a pipe; a
// fault in the work (a crash in a library it calls) ends the child only.
// The caller must hold no lock that the work needs: only the calling thread
// lives on in the child.
IsolatedOutcome RunIsolated(const std::function<std::string()>& work);

}  // namespace halvo::d3dcompiler
