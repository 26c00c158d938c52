#pragma once

#include <sys/stat.h>

#include <string>
#include <string_view>

#include "store/Problem.h"
#include "store/TextEncoding.h"

namespace store {

struct FileContents {
  bool exists = false;  // a missing file reads as no bytes
  std::string bytes;    // the text: decoded to UTF-8 when the file is UTF-16
  FileEncoding encoding = FileEncoding::Bytes;  // how to write the text back
};

// Reads a whole file. A missing file is not an error: it reads as one that does not exist, with
// no bytes. A UTF-16 file (one that starts with its byte-order mark) is handed back as UTF-8 text.
// A data file cut short in a rewrite in place is made whole first (see WriteJournal.h).
Result<FileContents> ReadWholeFile(const std::string& path);
// The same read as it is, for the holder of the file's lock and for files that are no data files.
Result<FileContents> ReadFileAsIs(const std::string& path);

// What tells one state of a file from another: which file it is, its size and when it was last
// written.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  time_t seconds = 0;
  long nanoseconds = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const struct stat& info);

// Replaces the file at `path` with `bytes` so that a crash at any moment leaves either the old
// file or the new one, whole: a temporary file in the same folder is written, flushed and renamed
// over the target. A symbolic link is followed and its target replaced; an existing file keeps
// its permission bits, and its owner and group where the process may set them; a new file gets
// the usual permissions for new files (0666 less umask). `encoding` is the one the text was read
// in: UTF-16 text is encoded back, byte-order mark first.
//
// Some files cannot be replaced without changing what the file is, and are rewritten in place
// instead (written, cut to length and synced): a file with a second hard link, which would keep
// the old contents under its other name; a file in a folder that refuses a new file; and a file
// whose owner or group the new file could not be given, and a file that is a mount point of its
// own. Before an in-place rewrite begins the old bytes are kept (see WriteJournal.h); where they
// cannot be, the file is left as it is and the write fails. A successful write also removes the
// temporary files that killed writers of the same file left behind.
//
// With `expected`, the file is looked at once more just before it is replaced or overwritten, and
// when it is no longer in that state (another program wrote it meanwhile) nothing is written and
// the problem is of kind FileChanged.
Result<void> WriteFileAtomically(const std::string& path, const std::string& bytes,
                                 FileEncoding encoding = FileEncoding::Bytes,
                                 const FileStamp* expected = nullptr);

// Whether `path` is a regular file of no bytes: a data file that holds nothing, started anew.
bool IsEmptyFile(const std::string& path);

// The path WriteFileAtomically replaces for `path`: symbolic links followed, a dangling link
// resolving to the path it names.
Result<std::string> ResolveWriteTarget(const std::string& path);

// Writes all of `bytes` to `fd`, going on after interruptions; 0 or the errno of the failure.
int WriteAll(int fd, std::string_view bytes);

// open(2), going on after interruptions: a descriptor, or -1 with errno set.
int OpenFile(const std::string& path, int flags);

// Writes `bytes` into the new file `temp` (mode 0600), synced when `sync`, and renames it to
// `path`, which so holds its old bytes or the new ones, whole. 0 or the errno of the failure; the
// temporary file is then removed.
int WriteByRename(const std::string& temp, const std::string& path, std::string_view bytes,
                  bool sync);

// Writes `bytes` over the file at `target` through its own inode, cuts it to length and syncs
// it; 0 or the errno of the failure. Nothing guards against a crash halfway: see WriteInPlace.
int OverwriteInPlace(const std::string& target, std::string_view bytes);

// The bytes of a file as they are on disk, undecoded; 0 or an errno value.
int ReadRawFile(const std::string& path, std::string& bytes);

// What an open descriptor (a file, a pipe) yields up to its end, or until more than `limit` bytes
// are read; `expected` is the size it is thought to have. The problem names no path: the caller
// knows what the descriptor is.
Result<std::string> ReadDescriptor(int fd, std::size_t limit = std::string::npos,
                                   std::size_t expected = 0);

// The folder and the name a path names: "a/b" gives "a" and "b", "b" gives "." and "b".
std::string FolderOf(const std::string& path);
std::string NameOf(const std::string& path);

// Makes a rename or a new file in `folder` durable; a folder that cannot be synced (some file
// systems refuse) is passed over, as what it holds is already in place.
void SyncFolder(const std::string& folder);

}  // namespace store
