// Local paths: the directory walk the program uses to create folders, and
// the one function that turns a name given by the service into a path under
// the download folder. Paths are CP949 texts as the program names them; the
// FileSystem port opens them.
//
// Service names are untrusted: a name like "..\..\x.exe", "c:\x", "CON" or a
// name with a separator must never lead outside the download folder, so
// downloadPath refuses them instead of cleaning them up. Nothing here blocks
// beyond the file-system calls themselves.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace pom {

class FileSystem;

// Creates every directory along path (CP949). Nothing happens when the path
// exists. Otherwise the path is walked byte by byte; at every '\' or '/' not
// preceded by ':' the directory named by the bytes so far is created, and
// finally the whole path. Returns true when the directory exists afterwards.
bool makeDirectories(FileSystem& files, const std::string& path);
// The directories makeDirectories creates for path, in order (the walk alone).
std::vector<std::string> directoryWalk(const std::string& path);

// True when name is one safe path component for the download folder: not
// empty, not "." or "..", no '\', '/', ':' or control bytes, no reserved device
// name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without extension), and no
// trailing dot or blank (Windows would silently drop them).
bool isSafeComponent(const std::string& name);

// The local path of a downloaded file: downloadFolder, then subFolder (a
// relative path of '\' or '/' separated components, empty for none), then
// name. subFolder must not start with a separator, and every component of it
// and the name must be safe (above);
// otherwise nothing is returned. downloadFolder is trusted (the member chose
// it). The parts are joined with '\'. All texts are CP949.
std::optional<std::string> downloadPath(const std::string& downloadFolder,
                                        const std::string& subFolder, const std::string& name);

// The folder part of a path (everything before its last '\' or '/'); empty
// when there is no separator.
std::string parentFolder(const std::string& path);

// name with " (n)" before its extension ("a.avi" -> "a (1).avi", "readme" ->
// "readme (2)"); the extension starts at the last dot that is not the first
// byte. The result is a safe component whenever name is.
std::string numberedName(const std::string& name, int n);

}  // namespace pom
