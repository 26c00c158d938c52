#include "store/Profile.h"

#include "store/AtomicFile.h"
#include "store/DataFileChange.h"
#include "store/ProfileDocument.h"
#include "store/TextUtil.h"
#include "store/TicketRules.h"

namespace store {

std::string ReadProfileValue(std::string_view section, std::string_view key,
                             const std::string& path) {
  const Result<FileContents> file = ReadWholeFile(path);
  if (!file) {
    return {};
  }
  return ProfileDocument::Lookup(file->bytes, section, key);
}

Result<void> WriteProfileValue(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& path) {
  if (std::string reason = ProfileDocument::RejectReason(section, key, value); !reason.empty()) {
    return Fail(path, std::move(reason));
  }
  // A file that cannot be read is never written over: that would lose everything else in it.
  return ChangeDataFile(path, [&](ProfileDocument& doc, const FileContents&) {
    const bool winning =
        EqualsIgnoringAsciiCase(section, kSection) && EqualsIgnoringAsciiCase(key, kWinningKey);
    const std::string old = winning ? doc.Get(section, key) : std::string();
    doc.Set(section, key, value);
    const bool replaces = winning && !old.empty() && old != kEmptyPlayNumber && old != value;
    return replaces ? ChangeVerdict::WriteAfterKeepingVersion : ChangeVerdict::Write;
  });
}

}  // namespace store
