// The bytes of a script: how each system reads standard input when it is a
// file or a pipe. The scripted console above it is the same everywhere.
#ifndef CORVANE_PLATFORM_SCRIPT_INPUT_H
#define CORVANE_PLATFORM_SCRIPT_INPUT_H

namespace corvane {

// Reads up to size bytes, waiting for them; 0 at the end of the input, and
// less than 0 on an error (which ends the input just as well).
long readScriptBytes(int descriptor, char* buffer, unsigned size);

// True when a read would not wait.
bool scriptBytesReady(int descriptor);

}  // namespace corvane

#endif  // CORVANE_PLATFORM_SCRIPT_INPUT_H
