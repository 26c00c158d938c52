#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>
#include <functional>

// An icon made the first time a picture of it is asked for, not when it is handed over: a window
// can take it and show before any image reader or its plugins load. On a desktop that wants the
// picture as the window appears, it is simply made then. For icons that are known to exist (built
// into the program or the toolkit): until then the icon counts as not null.
QIcon LazyIcon(std::function<QIcon()> make);

// The same for image files of one picture in several sizes, all in the given format ("png"),
// decoded on first use. The files are read in that format only: an image reader left to guess
// loads every image plugin first, to ask each whether it can read the file.
QIcon LazyFileIcon(const QStringList& paths, const char* format);
