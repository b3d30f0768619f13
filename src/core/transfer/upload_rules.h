// Upload rules the queue applies before a job asks for its ticket: the
// sample digest that lets the service recognise a file it already holds,
// and the sharing letter the upload is announced with.
//
// Both read the local file through the FileSystem port and never create or
// change it. Loop thread only; neither keeps anything between calls.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/net/messages/upload_messages.h"

namespace pom {

class ConfigStore;
class FileSystem;
class Md5;

// The sample is 65,536 bytes: the first 32,768 bytes of the file, then the
// 32,768 bytes that end at totalSize (the halves overlap below 65,536 bytes).
// Under 32,768 bytes the second read is skipped and the rest stays zero.
inline constexpr std::size_t kSampleHalf = 32768;

// The 16-byte MD5 sample digest of the file at path (size totalSize): the first 32,768
// bytes and the last 32,768 in a zero-filled 65,536-byte buffer (the second read skipped
// under 32,768 bytes); nullopt when the file cannot be opened (existing files only) or read.
std::optional<SampleDigest> sampleDigestOf(FileSystem& files, Md5& md5, const std::string& path,
                                           std::int64_t totalSize);

// The sharing letter for an upload: 'f', then 't'/'f'/'c' by UpLoadPublic1..3 (the last set
// wins), 'b' for a restricted type (ForbiddenUploadCheck).
char uploadSharingLetter(const ConfigStore& config, FileSystem& files,
                         const std::string& localPath);

}  // namespace pom
