// File bodies of the local service: generated demo content, the upload
// sample digest and the unique code that identifies a file's content.
//
// Generated bodies are deterministic: byte i of the body with a given seed is
// a cheap hash of (seed, i), so a test can check any range of a download
// without keeping a second copy. They are still written to disk (in full
// below kSparseFrom bytes, with holes above), because the storage server
// serves and appends real files.
//
// The sample digest is MD5 over a 65,536-byte buffer: the first 32,768 bytes
// of the file, then its last 32,768 bytes (they overlap for files shorter
// than 64 KiB); for a file shorter than 32,768 bytes only the first half holds
// file data and every other byte of the buffer is zero. MD5 comes from
// OpenSSL, an implementation independent of the client's.
//
// Stateless; safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace pom {
namespace service {

constexpr std::size_t kSampleHalf = 32768;

// Bytes [offset, offset + n) of the generated body with this seed.
void fillGenerated(std::uint64_t seed, std::int64_t offset, std::uint8_t* out, std::size_t n);

// Bodies of kSparseFrom bytes and more are sparse, so a file of many GiB
// takes a few MiB of disk: only regions of kSparseRegion bytes hold generated
// bytes (the start, the end, and both sides of every multiple of 2^31, where
// 32-bit offsets overflow); every other byte is zero and left as a hole.
// Both ends being generated, the sample digest is computed as for any body.
constexpr std::int64_t kSparseFrom = std::int64_t{1} << 32;
constexpr std::int64_t kSparseRegion = std::int64_t{1} << 20;
constexpr std::int64_t kSparseBoundary = std::int64_t{1} << 31;

// Bytes [offset, offset + n) of the generated body of a file of `size` bytes
// (sparse or not): what a download of that range must deliver.
void fillGeneratedBody(std::uint64_t seed, std::int64_t size, std::int64_t offset,
                       std::uint8_t* out, std::size_t n);
// Writes the first `length` bytes of the generated body of a file of `size`
// bytes to path, replacing it; size -1 means length. Sparse bodies are made
// with holes.
bool writeGeneratedBody(const std::string& path, std::uint64_t seed, std::int64_t length,
                        std::int64_t size = -1);

std::string md5Hex(const void* data, std::size_t length);
// The sample digest (32 lowercase hex digits) of the first `size` bytes of the
// file at path; empty when the file is shorter than size or unreadable.
std::string sampleDigestOfFile(const std::string& path, std::int64_t size);
// The same for bytes in memory.
std::string sampleDigestOf(const std::uint8_t* data, std::size_t size);
// The content key the service files a body under: derived from the sample
// digest and the size, 32 lowercase hex digits.
std::string uniqueCodeFor(const std::string& sampleDigestHex, std::int64_t size);

}  // namespace service
}  // namespace pom
