// The upload sample digest against vectors computed outside the program, and
// the sharing letter an upload is announced with.
#include "core/transfer/upload_rules.h"

#include <gtest/gtest.h>

#include "core/base/config_keys.h"
#include "platform/posix/posix_md5.h"
#include "support/fake_ports.h"
#include "support/memory_file_system.h"

namespace pom {
namespace {

// The output of `seq 1 100000` ("1\n2\n3\n..."), cut to size bytes.
std::string seqText(std::size_t size) {
  std::string text;
  for (int i = 1; text.size() < size; ++i) text += std::to_string(i) + "\n";
  text.resize(size);
  return text;
}

TEST(UploadRules, SampleDigestMatchesVectorsBuiltByHand) {
  // With f = `seq 1 100000 | head -c SIZE`:
  //   SIZE < 32768:  (cat f; head -c $((65536 - SIZE)) /dev/zero) | md5sum
  //   otherwise:     (head -c 32768 f; tail -c 32768 f) | md5sum
  struct Case {
    std::size_t size;
    const char* md5;
  } cases[] = {
      {5, "6d084eaded8f52d071fd83f4dc7893c6"},       // zero-filled, second read skipped
      {32768, "65d9b277858ec0318d627d00fed82125"},   // both halves are the whole file
      {65536, "4007e8ac25d38769302a6232b60a6a2b"},   // the halves meet
      {100000, "2581651bd8aa481f365e69169ba7117e"},  // the tail from 67,232 on
  };
  PosixMd5 md5;
  for (const Case& c : cases) {
    MemoryFileSystem files;
    files.addFile("c:\\up\\f.bin", seqText(c.size));
    const auto digest =
        sampleDigestOf(files, md5, "c:\\up\\f.bin", static_cast<std::int64_t>(c.size));
    ASSERT_TRUE(digest) << c.size;
    EXPECT_EQ(digestToHex(*digest), c.md5) << c.size;
  }
}

TEST(UploadRules, SampleDigestNeedsTheWholeExistingFileAndCreatesNothing) {
  PosixMd5 md5;
  MemoryFileSystem files;
  files.addFile("c:\\up\\short.bin", seqText(40000));
  EXPECT_FALSE(sampleDigestOf(files, md5, "c:\\up\\missing.bin", 10));
  EXPECT_FALSE(files.has("c:\\up\\missing.bin")) << "a missing source stays missing";
  EXPECT_FALSE(sampleDigestOf(files, md5, "c:\\up\\short.bin", 70000)) << "the file shrank";
  EXPECT_FALSE(sampleDigestOf(files, md5, "c:\\up\\short.bin", -1));
  EXPECT_TRUE(sampleDigestOf(files, md5, "c:\\up\\short.bin", 40000));
}

TEST(UploadRules, SharingLetterFollowsTheLastSetKeyUnlessTheTypeIsRestricted) {
  struct Case {
    bool public1, public2, public3;
    const char* name;
    char letter;
  } cases[] = {
      {false, false, false, "a.txt", 'f'}, {true, false, false, "a.txt", 't'},
      {true, true, false, "a.txt", 'f'},   {true, false, true, "a.txt", 'c'},
      {false, true, true, "a.txt", 'c'},   {true, false, false, "Song.MP3", 'b'},
      {false, false, true, "b.ogg", 'b'},  {false, false, false, "c.wma", 'b'},
  };
  for (const Case& c : cases) {
    MemoryProfile profile;
    MemoryRegistry registry;
    ConfigStore config(profile, registry, "c:\\work");
    config.writeBool(ConfigKey::UpLoadPublic1, c.public1);
    config.writeBool(ConfigKey::UpLoadPublic2, c.public2);
    config.writeBool(ConfigKey::UpLoadPublic3, c.public3);
    MemoryFileSystem files;
    const std::string path = std::string("c:\\up\\") + c.name;
    files.addFile(path, "plain bytes");
    EXPECT_EQ(uploadSharingLetter(config, files, path), c.letter)
        << c.public1 << c.public2 << c.public3 << " " << c.name;
  }
}

}  // namespace
}  // namespace pom
