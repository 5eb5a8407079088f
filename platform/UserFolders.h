// The user's own folders (XDG base directories): where an installed game keeps everything it
// writes, since its install prefix is read-only and may be shared by several players.
#pragma once

#include <string>

namespace qj {

// $XDG_CONFIG_HOME, or ~/.config when it is unset or not absolute, + "/quorvane-jigsaw".
std::string UserConfigFolder();
// $XDG_DATA_HOME, or ~/.local/share when it is unset or not absolute, + "/quorvane-jigsaw".
std::string UserDataFolder();
// $XDG_CACHE_HOME, or ~/.cache when it is unset or not absolute, + "/quorvane-jigsaw": what can
// be made again from the player's files (thumbnails), so losing it only costs time.
std::string UserCacheFolder();
// The desktop's pictures folder (XDG_PICTURES_DIR of user-dirs.dirs), else ~/Pictures when it
// exists, else the home folder.
std::string UserPicturesFolder();

// Creates the folder and its parents; true when it exists afterwards.
[[nodiscard]] bool MakeFolders(const std::string& folder);
// Copies a file (resolved) to `to`, through a temporary file so a half copy never shows.
[[nodiscard]] bool CopyFile(const std::string& from, const std::string& to);
// Copies the file into the folder unless it is already there, and returns its path in the folder.
// A different file of the same name is never replaced: the copy gets a free name ("Cat 2.jpg").
// Empty on failure, with `error` naming the file and the cause.
std::string CopyIntoFolder(const std::string& file, const std::string& folder, std::string& error);

}  // namespace qj
