#pragma once

#include <string>

// Naming and making the folders that hold the versions of data files.
namespace store {

// The one name a data file has, whichever way it was reached: symbolic links resolved (a write
// replaces the link's target), and for a file that is gone, its folder resolved.
std::string CanonicalPath(const std::string& path);

// Makes the versions folder `root` and a data file's `folder` in it when missing, and checks that
// both are the user's own and closed to others. Returns the empty text, or the reason with
// `failed` set to the folder that refused.
std::string MakeVersionFolders(const std::string& root, const std::string& folder,
                               std::string& failed);

}  // namespace store
