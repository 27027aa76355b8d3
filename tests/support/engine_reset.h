// Every part of the engine back to the state a fresh test process has it in.
#pragma once

// Forgets what the subsystems, the engine core, the data manager, the file
// system and the log seam hold, then does what pre-initialisation does first:
// registers the calling thread as the main thread, creates the engine locks
// and routes the lower layers' log lines into the engine's log. The main of
// every test program that runs engine code calls it before and after each test.
void ResetEngine();
