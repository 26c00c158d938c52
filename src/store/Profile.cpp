#include "store/Profile.h"

#include "store/AtomicFile.h"
#include "store/ProfileDocument.h"

namespace store {

std::string ReadProfileValue(std::string_view section, std::string_view key,
                             const std::string& path) {
  const FileContents file = ReadWholeFile(path);
  if (file.status != ReadStatus::Ok) {
    return {};
  }
  return ProfileDocument::Lookup(file.bytes, section, key);
}

WriteResult WriteProfileValue(std::string_view section, std::string_view key,
                              std::string_view value, const std::string& path) {
  if (std::string reason = ProfileDocument::RejectReason(section, key, value); !reason.empty()) {
    return WriteResult::Failure(path, std::move(reason));
  }
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Failed) {
    // Writing over a file we could not read would lose everything else in it.
    return WriteResult::Failure(path, file.reason);
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  doc.Set(section, key, value);
  if (file.status == ReadStatus::Ok && !doc.IsModified()) {
    return WriteResult::Success();
  }
  return WriteFileAtomically(path, doc.Serialize());
}

WriteResult DeleteProfileKey(std::string_view section, std::string_view key,
                             const std::string& path) {
  FileContents file = ReadWholeFile(path);
  if (file.status == ReadStatus::Missing) {
    return WriteResult::Success();
  }
  if (file.status == ReadStatus::Failed) {
    return WriteResult::Failure(path, file.reason);
  }
  ProfileDocument doc = ProfileDocument::ParseOwning(std::move(file.bytes));
  if (!doc.Delete(section, key)) {
    return WriteResult::Success();
  }
  return WriteFileAtomically(path, doc.Serialize());
}

}  // namespace store
