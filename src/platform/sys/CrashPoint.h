#pragma once

// A test seam for "killed at this very moment": when ZQ_CRASH_AT names the
// step, the process ends there at once, with no clean-up of any kind, as a
// power cut or a kill would leave things. ZQ_PAUSE_AT=step:ms holds the
// process there instead (saying "paused at STEP" on stderr as it begins), so
// a test can let a second copy run into it. Unset,
// a step costs one compare.
namespace CrashPoint {

// Exit code of a process ended at its step.
constexpr int kExitCode = 86;

void hit(const char* step);

} // namespace CrashPoint
