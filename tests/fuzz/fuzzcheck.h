#pragma once

// A broken promise found while fuzzing: says which and aborts, so libFuzzer
// keeps the input as a crash.
void fuzzCheck(bool holds, const char *promise);
