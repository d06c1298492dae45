// corvane --batch: the project file loaded (or the default project made)
// and the makefile written as the command line says, with no screen drawn,
// no question asked and nothing read from standard input, for scripts and
// CI. Everything a question would decide is decided by the command line.
#ifndef CORVANE_APP_BATCH_RUN_H
#define CORVANE_APP_BATCH_RUN_H

#include "app/arguments.h"
#include "app/run_outcome.h"
#include "platform/file_system.h"

namespace corvane {

// A command line with `batch` set: the batch run, or the usage text it asks
// for, or the mistake that stops it.
RunOutcome runBatch(const CommandLine& command, FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_BATCH_RUN_H
