#include "platform/save_policy.h"

namespace corvane {

namespace {

using File = SaveSteps::File;

// What a save through a temporary file came to.
enum class ThroughTemporary {
  kSaved,        // the new content has the name
  kCannotWrite,  // the content could not be written; nothing changed
  kRefused,      // the new file could not take the name as everything the old
                 // one was; nothing changed
};

// Removes a file the save made; one that stays is named.
void discard(SaveSteps& steps, File file, SaveOutcome& outcome) {
  const std::string name = steps.name(file);
  if (!steps.remove(file)) outcome.leftOver.push_back(name);
  steps.onSignalNothing();
}

ThroughTemporary throughTemporary(SaveSteps& steps, const std::string& content, bool replacing,
                                  SaveOutcome& outcome) {
  if (steps.create(File::kTemporary) != Made::kMade) return ThroughTemporary::kRefused;
  const auto giveUp = [&](ThroughTemporary result) {
    discard(steps, File::kTemporary, outcome);
    return result;
  };
  if (!steps.prepare(replacing)) return giveUp(ThroughTemporary::kRefused);
  if (!steps.write(File::kTemporary, content)) return giveUp(ThroughTemporary::kCannotWrite);
  if (!steps.complete(replacing)) return giveUp(ThroughTemporary::kRefused);
  // The data on the disk before the name: a crash after the rename must not
  // find the name on an empty file.
  if (!steps.flush(File::kTemporary) || !steps.close(File::kTemporary)) {
    return giveUp(ThroughTemporary::kCannotWrite);
  }
  if (!steps.replace(replacing)) return giveUp(ThroughTemporary::kRefused);
  steps.onSignalNothing();
  steps.syncDirectory();
  return ThroughTemporary::kSaved;
}

// Puts the old bytes back where the new ones went, on the disk: whether the
// file is exactly as it was.
bool putBack(SaveSteps& steps, const std::string& old) {
  return steps.write(File::kTarget, old) && steps.cut(old.size()) && steps.flush(File::kTarget);
}

// Rewrites an existing file in place: the new bytes over the old ones, then
// the file cut to the new length and flushed. Until that is done, all the
// old bytes are kept to be put back, in memory and, where the directory
// allows, in a copy on the disk that is removed once the new bytes are
// there. A failing close after a good flush loses nothing and is no failure.
void rewriteInPlace(SaveSteps& steps, const std::string& content, SaveOutcome& outcome) {
  std::string old;
  if (!steps.openTarget(old)) {
    outcome.result = SaveResult::kCannotOpen;
    return;
  }
  // Without a copy a crash part way loses the file: only a directory that
  // allows no new file at all is rewritten without one.
  const Made made = steps.create(File::kCopy);
  if (made == Made::kFailed) {
    outcome.result = SaveResult::kCannotWrite;
    return;
  }
  const bool copied = made == Made::kMade;
  if (copied) {
    if (!steps.write(File::kCopy, old) || !steps.flush(File::kCopy) ||
        !steps.close(File::kCopy)) {
      discard(steps, File::kCopy, outcome);
      outcome.result = SaveResult::kCannotWrite;
      return;
    }
    steps.syncDirectory();
  }

  steps.onSignalRestore(old);
  bool good = steps.write(File::kTarget, content);
  if (good) {
    steps.onSignalFinish(content.size());
    good = steps.cut(content.size()) && steps.flush(File::kTarget);
  }
  if (good) {
    steps.afterRewrite();
    outcome.result = SaveResult::kSaved;
  } else {
    steps.onSignalRestore(old);
    if (!putBack(steps, old)) {
      steps.onSignalNothing();
      steps.close(File::kTarget);
      outcome.result = SaveResult::kDamaged;  // the copy stays
      if (copied) outcome.oldContent = steps.name(File::kCopy);
      return;
    }
    outcome.result = SaveResult::kCannotWrite;
  }
  // The file is whole on the disk: the copy may go, and an ending signal
  // now must not leave it behind either.
  if (copied) steps.onSignalRemove(File::kCopy);
  steps.close(File::kTarget);
  if (copied) {
    discard(steps, File::kCopy, outcome);
  } else {
    steps.onSignalNothing();
  }
}

void append(std::vector<std::string>& to, const std::vector<std::string>& names) {
  to.insert(to.end(), names.begin(), names.end());
}

}  // namespace

SaveOutcome saveThrough(SaveSteps& steps, const std::string& content) {
  SaveOutcome outcome;
  const SaveTarget target = steps.examine();
  switch (target) {
    case SaveTarget::kCannotOpen:
      outcome.result = SaveResult::kCannotOpen;
      return outcome;
    case SaveTarget::kSpecial:
      outcome.result = steps.writeToSpecial(content);
      return outcome;
    case SaveTarget::kAbsent:
    case SaveTarget::kReplaceable:
      switch (throughTemporary(steps, content, target == SaveTarget::kReplaceable, outcome)) {
        case ThroughTemporary::kSaved:
          outcome.result = SaveResult::kSaved;
          return outcome;
        case ThroughTemporary::kCannotWrite:
          outcome.result = SaveResult::kCannotWrite;
          return outcome;
        case ThroughTemporary::kRefused:
          break;
      }
      if (target == SaveTarget::kAbsent) {
        outcome.result = SaveResult::kCannotOpen;
        return outcome;
      }
      break;
    case SaveTarget::kInPlaceOnly:
      break;
  }
  rewriteInPlace(steps, content, outcome);
  return outcome;
}

SaveOutcome afterRetry(const SaveOutcome& earlier, const SaveOutcome& later) {
  SaveOutcome outcome = later;
  outcome.leftOver = earlier.leftOver;
  if (earlier.result == SaveResult::kDamaged) {
    if (later.result == SaveResult::kSaved) {
      if (!earlier.oldContent.empty()) outcome.leftOver.push_back(earlier.oldContent);
    } else {
      outcome.result = SaveResult::kDamaged;
      outcome.oldContent = earlier.oldContent;
      if (!later.oldContent.empty()) outcome.leftOver.push_back(later.oldContent);
    }
  }
  append(outcome.leftOver, later.leftOver);
  return outcome;
}

}  // namespace corvane
