// Demo data: what a fresh data directory is seeded with.
//
// Members: "demo1" (password "demo1234", credit 1,200,000, no flat rate, a
// note waiting) and "demo2" (password "demo5678", flat-rate class 1), demo2
// being a friend of demo1 with a memo. demo1 owns nested folders with Korean
// names, files from 5 bytes to 12 MiB (the largest is above the 10,485,760
// bytes from which the client asks peers), one partly stored file, one file
// whose unique code is on the protected list, and a folder of 75 files (three
// listing pages of 30). demo2 shares public files.
//
// For the web-storage views demo1 also has: a folder of exactly 30 files
// (one full page, so the client asks again and gets an empty page); a third
// member "demo3" ("demo9012") as a friend with an empty display name and no
// memo; a folder and a file whose names hold ' , and ; (the client sends
// these as '!' but shows them as they are); a folder named with 50 Hangul
// syllables (100 bytes, past the client's 98/99-byte cut); and a file whose
// name holds 갂 (CP949 0x81 0x41: a trail byte that is the ASCII letter A).
// A data directory seeded before these existed gets them on its next start.
//
// The bulk folder (thousands of files, for benchmarks) is never seeded: it is
// added on request, by addBulkFolder or ServiceOptions::bulkFolder.
//
// Every body is generated: byte i of the body of the file with id f is
// fillGenerated(f, i, ...) (file_bodies.h), so any range can be verified.
// seedDemoData does nothing when the store was seeded with all of it before.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "service/ports.h"
#include "service/store.h"

namespace pom {
namespace service {

// Names of the seeded members and well-known items (CP949 names as the wire
// carries them), for tests and the README.
namespace demo {
extern const char* const kMember1;
extern const char* const kPassword1;
extern const char* const kMember2;
extern const char* const kPassword2;
extern const char* const kMember3;  // demo1's friend without display name or memo
extern const char* const kPassword3;
constexpr std::int64_t kCredit1 = 1200000;
constexpr int kManyItems = 75;
extern const char* const kOnePageFolder;  // exactly kOnePageItems files
constexpr int kOnePageItems = 30;
extern const char* const kPunctuatedFolder;  // names with ' , ;
extern const char* const kPunctuatedFile;
extern const char* const kLongFolder;       // 50 Hangul syllables, 100 bytes
extern const char* const kTrailLetterFile;  // holds 갂 (0x81 0x41)
extern const char* const kBulkFolder;       // name used by ServiceOptions::bulkFolder
extern const char* const kHugeFile;         // ServiceOptions::hugeFile, demo1's top level
extern const char* const kBenchFolder;      // ServiceOptions::benchFile: this folder
extern const char* const kBenchFile;        // ... holding this file
extern const char* const kSmallFolder;      // ServiceOptions::smallFiles
constexpr std::int64_t kSmallFileSize = 4096;
constexpr std::int64_t kDefaultBenchBytes = std::int64_t{1} << 30;
}  // namespace demo

// True when seeding ran or had run before; false (with a reason) on failure.
bool seedDemoData(Store& store, const ServicePorts& ports, std::string* error = nullptr);

// Adds one complete generated file (body seeded with its id) and returns its
// id; 0 on failure. Used by the seed, by tests and by benchmarks.
std::int32_t addGeneratedFile(Store& store, const std::string& owner, std::int32_t parentId,
                              const std::string& name, std::int64_t size, char share = 'f',
                              std::int64_t stored = -1);

// Writes the generated body of a file whose body file is missing (the bulk
// folder's files get theirs when first read). Only what the generator made is
// ever restored: the record's sample digest must be the generated one for its
// id and size. True when the body file is there afterwards. Any thread.
bool restoreGeneratedBody(Store& store, const Item& file);

// Adds a folder named `name` at the owner's top level holding `count`
// generated files, all in one transaction; their bodies are written when
// first read, so 10,000 take about a second. Returns the folder id, 0 on
// failure (then nothing is added).
std::int32_t addBulkFolder(Store& store, const std::string& owner, const std::string& name,
                           int count);
// addBulkFolder unless the owner already has a top-level item of that name.
bool ensureBulkFolder(Store& store, const std::string& owner, const std::string& name, int count,
                      std::string* error = nullptr);

// Large files on request (never in the default data), all public files of
// demo1 that the peer hosts hold, so downloads of them may go by peers. Each
// is kept between starts when its size is unchanged and replaced otherwise;
// false (with a reason) on failure.
// - the huge file demo::kHugeFile at the top level, `size` bytes; from
//   kSparseFrom bytes up its body is sparse (file_bodies.h), so a file over
//   4 GiB takes a few MiB of disk;
// - the benchmark file demo::kBenchFile in the folder demo::kBenchFolder; its
//   body is written in full at the first start and reused after.
bool ensureHugeFile(Store& store, const std::vector<std::string>& peerHosts, std::int64_t size,
                    std::string* error = nullptr);
bool ensureBenchFile(Store& store, const std::vector<std::string>& peerHosts, std::int64_t size,
                     std::string* error = nullptr);
// The public folder demo::kSmallFolder of `count` files of kSmallFileSize
// bytes ("작은00001.bin" on), bodies written when first read; an existing
// folder of that name is kept as it is.
bool ensureSmallFiles(Store& store, int count, std::string* error = nullptr);

// Finds an item of owner by name anywhere (first match by id); 0 when none.
std::int32_t findItemId(Store& store, const std::string& owner, const std::string& name);

// The sample digest of a generated body (computed in memory, no file needed).
std::string generatedSampleDigest(std::uint64_t seed, std::int64_t size);

}  // namespace service
}  // namespace pom
