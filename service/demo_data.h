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
// Every body is generated: byte i of the body of the file with id f is
// fillGenerated(f, i, ...) (file_bodies.h), so any range can be verified.
// seedDemoData does nothing when the store was seeded before.
#pragma once

#include <cstdint>
#include <string>

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
constexpr std::int64_t kCredit1 = 1200000;
constexpr int kManyItems = 75;
}  // namespace demo

// True when seeding ran or had run before; false (with a reason) on failure.
bool seedDemoData(Store& store, const ServicePorts& ports, std::string* error = nullptr);

// Adds one complete generated file (body seeded with its id) and returns its
// id; 0 on failure. Used by the seed, by tests and by benchmarks.
std::int32_t addGeneratedFile(Store& store, const std::string& owner, std::int32_t parentId,
                              const std::string& name, std::int64_t size, char share = 'f',
                              std::int64_t stored = -1);

// Finds an item of owner by name anywhere (first match by id); 0 when none.
std::int32_t findItemId(Store& store, const std::string& owner, const std::string& name);

// The sample digest of a generated body (computed in memory, no file needed).
std::string generatedSampleDigest(std::uint64_t seed, std::int64_t size);

}  // namespace service
}  // namespace pom
