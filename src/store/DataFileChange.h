#pragma once

#include <functional>
#include <string>

#include "store/AtomicFile.h"
#include "store/Problem.h"
#include "store/ProfileDocument.h"

namespace store {

// What a change decided after seeing the file as read under the lock.
enum class ChangeVerdict {
  Write,                     // write the changed document back
  WriteAfterKeepingVersion,  // the change removes or replaces tickets: the old file is kept as a
                             // version first
  Abandon,                   // write nothing; the change recorded why itself
};

// Read -> change -> write of one data file under an exclusive advisory lock held for the whole of
// it, so that two writers (two windows, the window and the command-line tool) never build a
// change on the same old contents and lose one of them. Readers need no lock: the file is
// replaced whole, except where it must be rewritten in place (see AtomicFile.h), and a rewrite in
// place cut short is repaired under this lock before anything reads or changes the file (see
// WriteJournal.h).
//
// The lock is a flock() on the data file itself, so nothing is left beside it and a process that
// dies releases it. Because a write replaces the file by rename, a writer that waited may hold
// the lock of a file that is no longer at the path; it then starts again on the new one. Where
// the file system refuses flock(), a lock file beside the data file stands in for it (see
// LockFile.h); where not even that can be made, nothing is written and the problem says why.
//
// A program that writes the file without locking it is caught as far as it can be: just before
// the file is replaced, it must still be the one that was read (device, inode, size and
// modification time); if not, the file is read again and `change` called again on it, so
// `change` must not count on being called once.
//
// `change` sees the document parsed from the file as read under the lock, and how that read went
// (`before`: Missing for a file that did not exist, and for an empty one, which holds nothing).
// The bytes read have gone into the document without a copy: doc.Original() has them,
// `before.bytes` is empty. The document is written back when the change modified it, or when
// the file did not exist. Before a write the change judged WriteAfterKeepingVersion, the file as
// read is kept as an earlier version (see Versions.h); a failure to keep it never stops the
// write. A file that cannot be read fails with its reason without calling `change`. A missing
// file is written whole into a new file that is linked into place, so it never appears empty.
Result<void> ChangeDataFile(
    const std::string& path,
    const std::function<ChangeVerdict(ProfileDocument& doc, const FileContents& before)>& change);

}  // namespace store
