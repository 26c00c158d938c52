#pragma once

#include <QIcon>
#include <QString>
#include <functional>

// An icon made the first time a picture of it is asked for, not when it is handed over: a window
// can take it and show before any image reader or its plugins load. On a desktop that wants the
// picture as the window appears, it is simply made then. For icons that are known to exist (built
// into the program or the toolkit): until then the icon counts as not null.
QIcon LazyIcon(std::function<QIcon()> make);

// The same for an image file, decoded on first use.
QIcon LazyFileIcon(const QString& path);
