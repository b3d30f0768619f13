// ForbiddenUploadCheck: whether a local file must not be uploaded.
//
// Music files (".ogg", ".mp3", ".wma", ".ape", ".dcf", ASCII case ignored)
// are refused, and so is a zip archive holding one among its file entries
// (directory entries do not count). An archive whose name ends in ".lzh" is
// allowed without inspection. path is CP949; the archive is read through the
// FileSystem port, so names outside the ANSI code page open on Windows too.
#pragma once

#include <string>

namespace pom {

class FileSystem;

bool ForbiddenUploadCheck(FileSystem& files, const std::string& path);

// The name test alone: true when the last four bytes of name, lower-cased,
// are one of the five forbidden extensions.
bool hasForbiddenExtension(const std::string& name);

}  // namespace pom
