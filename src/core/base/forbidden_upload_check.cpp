#include "core/base/forbidden_upload_check.h"

#include <unzip.h>

#include <filesystem>
#include <fstream>
#include <string_view>
#include <vector>

#include "core/base/text_utils.h"
#include "core/base/local_path.h"

namespace pom {

namespace {

constexpr std::string_view kForbiddenExtensions[] = {".ogg", ".mp3", ".wma", ".ape", ".dcf"};

// minizip reads through these callbacks instead of its own fopen so that the
// path goes through std::filesystem::path: on Windows that opens the file by
// its UTF-16 name, so CP949 names work whatever the system's ANSI code page.
// The stream is a std::filebuf; filename is the std::filesystem::path itself.
voidpf ZCALLBACK openFile(voidpf, const void* filename, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  auto* file = new std::filebuf;
  if (file->open(*static_cast<const std::filesystem::path*>(filename),
                 std::ios::in | std::ios::binary) == nullptr) {
    delete file;
    return nullptr;
  }
  return file;
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void* buffer, uLong size) {
  return static_cast<uLong>(static_cast<std::filebuf*>(stream)->sgetn(
      static_cast<char*>(buffer), static_cast<std::streamsize>(size)));
}

uLong ZCALLBACK writeFile(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream) {
  const auto pos = static_cast<std::filebuf*>(stream)->pubseekoff(0, std::ios::cur, std::ios::in);
  return pos < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(pos);
}

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  std::ios::seekdir dir = std::ios::beg;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) dir = std::ios::cur;
  if (origin == ZLIB_FILEFUNC_SEEK_END) dir = std::ios::end;
  const auto pos = static_cast<std::filebuf*>(stream)->pubseekoff(
      static_cast<std::streamoff>(offset), dir, std::ios::in);
  return pos < 0 ? -1 : 0;
}

int ZCALLBACK closeFile(voidpf, voidpf stream) {
  delete static_cast<std::filebuf*>(stream);
  return 0;
}

int ZCALLBACK testErrorFile(voidpf, voidpf) {
  return 0;
}

zlib_filefunc64_def fileFunctions() {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = openFile;
  functions.zread_file = readFile;
  functions.zwrite_file = writeFile;
  functions.ztell64_file = tellFile;
  functions.zseek64_file = seekFile;
  functions.zclose_file = closeFile;
  functions.zerror_file = testErrorFile;
  functions.opaque = nullptr;
  return functions;
}

// Any entry holding a forbidden file; directory entries ("y.mp3/") do not count.
bool archiveHoldsForbiddenFile(unzFile archive) {
  std::vector<char> name;
  for (int status = unzGoToFirstFile(archive); status == UNZ_OK;
       status = unzGoToNextFile(archive)) {
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
      break;
    }
    name.assign(info.size_filename + 1, '\0');
    if (unzGetCurrentFileInfo64(archive, &info, name.data(), static_cast<uLong>(name.size()),
                                nullptr, 0, nullptr, 0) != UNZ_OK) {
      break;
    }
    const std::string entry(name.data(), info.size_filename);
    const bool isDirectory = !entry.empty() && (entry.back() == '/' || entry.back() == '\\');
    if (!isDirectory && hasForbiddenExtension(entry)) return true;
  }
  return false;
}

}  // namespace

bool hasForbiddenExtension(const std::string& name) {
  if (name.size() < 4) return false;
  const std::string tail = lowerAscii(std::string_view(name).substr(name.size() - 4));
  for (std::string_view extension : kForbiddenExtensions) {
    if (tail == extension) return true;
  }
  return false;
}

bool ForbiddenUploadCheck(const std::string& path) {
  const std::string lowered = lowerAscii(path);
  const std::filesystem::path fsPath = pathFromCp949(path);
  zlib_filefunc64_def functions = fileFunctions();
  unzFile archive = unzOpen2_64(&fsPath, &functions);
  if (archive == nullptr) return hasForbiddenExtension(lowered);
  if (endsWithNoCase(lowered, ".lzh")) {
    unzClose(archive);
    return false;
  }
  const bool forbidden = archiveHoldsForbiddenFile(archive);
  unzClose(archive);
  return forbidden;
}

}  // namespace pom
