#include "core/base/forbidden_upload_check.h"

#include <unzip.h>

#include <memory>
#include <string_view>
#include <vector>

#include "core/base/text_utils.h"
#include "core/ports/file_system.h"

namespace pom {

namespace {

constexpr std::string_view kForbiddenExtensions[] = {".ogg", ".mp3", ".wma", ".ape", ".dcf"};

// minizip reads through these callbacks, so the archive is opened through
// the FileSystem port (on Windows by its UTF-16 name, whatever the system's
// ANSI code page). The "file name" minizip passes back is the port itself
// with the path; the stream is the OpenFile.
struct ArchiveSource {
  FileSystem* files;
  const std::string* path;
};

voidpf ZCALLBACK openFile(voidpf, const void* filename, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
  const auto* source = static_cast<const ArchiveSource*>(filename);
  return source->files->openRead(*source->path).release();
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void* buffer, uLong size) {
  const std::int64_t got = static_cast<OpenFile*>(stream)->read(buffer, size);
  return got < 0 ? 0 : static_cast<uLong>(got);
}

uLong ZCALLBACK writeFile(voidpf, voidpf, const void*, uLong) {
  return 0;
}

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream) {
  const std::int64_t at = static_cast<OpenFile*>(stream)->position();
  return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  auto* file = static_cast<OpenFile*>(stream);
  std::int64_t base = 0;
  if (origin == ZLIB_FILEFUNC_SEEK_CUR) base = file->position();
  if (origin == ZLIB_FILEFUNC_SEEK_END) base = file->size();
  if (base < 0) return -1;
  return file->seek(base + static_cast<std::int64_t>(offset)) ? 0 : -1;
}

int ZCALLBACK closeFile(voidpf, voidpf stream) {
  delete static_cast<OpenFile*>(stream);
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

bool ForbiddenUploadCheck(FileSystem& files, const std::string& path) {
  const std::string lowered = lowerAscii(path);
  const ArchiveSource source{&files, &path};
  zlib_filefunc64_def functions = fileFunctions();
  unzFile archive = unzOpen2_64(&source, &functions);
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
