// corvane --batch: the project file loaded (or the default project made)
// and the makefile written as the command line says, with no screen drawn,
// no question asked and nothing read from standard input, for scripts and
// CI. Everything a question would decide is decided by the command line.
#ifndef CORVANE_APP_BATCH_RUN_H
#define CORVANE_APP_BATCH_RUN_H

#include <string>
#include <vector>

#include "app/program_flow.h"
#include "platform/file_system.h"

namespace corvane {

// The command line of a batch run (one that holds --batch): its options in
// any order, "--" ending them, at most one project file; `mistake` says why
// one cannot be followed.
CommandLine readBatchCommandLine(const std::vector<std::string>& arguments);

// The synopsis of a batch command line, as the usage text shows it.
std::string batchUsage();

// A command line with `batch` set: the batch run, or the usage text it asks
// for, or the mistake that stops it.
RunOutcome runBatch(const CommandLine& command, FileSystem& fs);

}  // namespace corvane

#endif  // CORVANE_APP_BATCH_RUN_H
