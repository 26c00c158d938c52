#include "app/modPelmora.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QVariant>

#include <dirent.h>
#include <sys/stat.h>

#include "app/ProblemReport.h"
#include "platform/PreviousInstance.h"
#include "store/TextEncoding.h"

namespace modPelmora {

namespace {

constexpr char16_t kByteEscape = 0xDC00;

// The one entry of `folder` that the file dialog shows as `shown`, or `shown` in UTF-8.
std::string EntryShownAs(const std::string& folder, const QString& shown) {
  std::string found = shown.toStdString();
  DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
  if (dir == nullptr)
    return found;
  int matches = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (QFile::decodeName(entry->d_name) == shown && ++matches == 1)
      found = entry->d_name;
  }
  ::closedir(dir);
  return matches == 1 ? found : shown.toStdString();
}

}  // namespace

QString PathHandle(const std::string& path) {
  QString handle;
  for (std::size_t i = 0; i < path.size();) {
    const std::size_t length = store::Utf8SequenceLength(path, i);
    if (length == 0) {
      handle.append(
          QChar(static_cast<char16_t>(kByteEscape + static_cast<unsigned char>(path[i]))));
      ++i;
    } else {
      handle.append(QString::fromUtf8(path.data() + i, static_cast<qsizetype>(length)));
      i += length;
    }
  }
  return handle;
}

std::string PathBytes(const QString& path) {
  std::string bytes;
  qsizetype plain = 0;  // the start of the text not yet turned into bytes
  for (qsizetype i = 0; i <= path.size(); ++i) {
    const bool escape = i < path.size() && path[i].unicode() >= kByteEscape + 0x80 &&
                        path[i].unicode() <= kByteEscape + 0xFF;
    if (!escape && i < path.size())
      continue;
    bytes += path.mid(plain, i - plain).toStdString();
    if (escape)
      bytes.push_back(static_cast<char>(path[i].unicode() - kByteEscape));
    plain = i + 1;
  }
  struct stat info {};
  if (!path.contains(QChar::ReplacementCharacter) || ::lstat(bytes.c_str(), &info) == 0)
    return bytes;
  // A choice in the file dialog of a name that is not UTF-8: each such part of the path is
  // looked up in its folder.
  std::string resolved;
  const QStringList parts = path.split(QLatin1Char('/'));
  for (qsizetype k = 0; k < parts.size(); ++k) {
    const std::string part = parts[k].contains(QChar::ReplacementCharacter)
                                 ? EntryShownAs(resolved, parts[k])
                                 : parts[k].toStdString();
    resolved += (k > 0 ? "/" : "") + part;
  }
  return resolved;
}

// The title belongs to this copy of the program as a whole, so the application object carries it.
QString AppTitle() {
  const QVariant title = qApp != nullptr ? qApp->property("appTitle") : QVariant();
  return title.isValid() ? title.toString() : QString::fromLatin1(kProductName);
}
void SetAppTitle(const QString& title) {
  qApp->setProperty("appTitle", title);
}

StartVerdict CheckPrevInstance(const std::string& fileToOpen) {
  // Renamed first so that this copy's own windows no longer pass for the running copy's; the
  // message below therefore carries the new title, as every later message of this copy does.
  SetAppTitle(QStringLiteral("unwanted instance"));
  if (!platform::PreviousInstance::Activate(QByteArray::fromStdString(fileToOpen)))
    return StartVerdict::Run;
  // Handing a file over is what the person asked for; the running copy shows it, nothing to say.
  if (fileToOpen.empty())
    Tell(nullptr,
         QStringLiteral("This instance of Pelmora will terminate because another running "
                        "instance was detected."),
         platform::MessageIcon::Information);
  return StartVerdict::End;
}

}  // namespace modPelmora
