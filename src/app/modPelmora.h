#pragma once

#include <QString>
#include <string>

// The program's shared variables and routines, used by every window.
namespace modPelmora {

// The program's title, as shown in the main window's caption and on message boxes unless the
// single-instance check renamed it.
inline constexpr char kProductName[] = "VORDANIK Pelmora 2.0";
inline constexpr int kVersionMajor = 2;
inline constexpr int kVersionMinor = 0;
inline constexpr int kVersionRevision = 0;

inline constexpr char kHintText[] =
    "Tickets with 3-6 matches are displayed here when you click \"Check Winning Number Against "
    "Play Number (F5)\" in the Numbers menu.";

// The application title that message boxes carry.
QString AppTitle();
void SetAppTitle(const QString& title);

// Whether start-up goes on after the single-instance check.
enum class StartVerdict { Run, End };

// Another copy runs: asks it to come to the front and, when it answered, tells the user and
// returns End. With `fileToOpen` (a path as bytes), the running copy is asked to open that file
// too and End comes without a message. When it did not answer, start-up goes on under the title
// "unwanted instance".
StartVerdict CheckPrevInstance(const std::string& fileToOpen = {});

// A path as bytes carried in a QString that PathBytes turns back into the same bytes, whatever
// they are: UTF-8 as its characters, every other byte as one of the code points U+DC80..U+DCFF,
// which no text on the screen holds. Never shown: the screen gets FileText.
QString PathHandle(const std::string& path);

// The bytes of a path: those of a PathHandle exactly, else the UTF-8 of the text. The file
// dialog shows a name that is not UTF-8 with U+FFFD in place of its odd bytes; such a name is
// turned back into the one name in its folder that shows so.
std::string PathBytes(const QString& path);

}  // namespace modPelmora
