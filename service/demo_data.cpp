#include "service/demo_data.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "service/file_bodies.h"

namespace pom {
namespace service {

namespace demo {
const char* const kMember1 = "demo1";
const char* const kPassword1 = "demo1234";
const char* const kMember2 = "demo2";
const char* const kPassword2 = "demo5678";
const char* const kMember3 = "demo3";
const char* const kPassword3 = "demo9012";
const char* const kOnePageFolder = "한페이지";
const char* const kPunctuatedFolder = "작은'따옴표,쉼표;폴더";
const char* const kPunctuatedFile = "작은'따옴표,쉼표;파일.txt";
// 50 syllables, 25 on each line.
const char* const kLongFolder =
    "아주긴폴더이름은구십팔바이트를넘어서클라이언트가어"
    "디에서잘라야하는지시험하려고만든것이니지우지마세요";
const char* const kTrailLetterFile = "갂자료.txt";
const char* const kBulkFolder = "대량항목";
const char* const kHugeFile = "대용량.bin";
const char* const kBenchFolder = "벤치";
const char* const kBenchFile = "벤치.bin";
const char* const kSmallFolder = "작은파일";
}  // namespace demo

std::string generatedSampleDigest(std::uint64_t seed, std::int64_t size) {
  std::vector<std::uint8_t> head(
      static_cast<std::size_t>(std::min<std::int64_t>(size, 2 * kSampleHalf)));
  if (size <= static_cast<std::int64_t>(2 * kSampleHalf)) {
    fillGenerated(seed, 0, head.data(), head.size());
    return sampleDigestOf(head.data(), head.size());
  }
  // Only the two ends matter: build a stand-in of 64 KiB with the same ends.
  std::vector<std::uint8_t> ends(2 * kSampleHalf);
  fillGenerated(seed, 0, ends.data(), kSampleHalf);
  fillGenerated(seed, size - static_cast<std::int64_t>(kSampleHalf), ends.data() + kSampleHalf,
                kSampleHalf);
  return sampleDigestOf(ends.data(), ends.size());
}

namespace {

// The record of a generated file (sizes, digest, unique code), without its body.
std::int32_t addGeneratedRecord(Store& store, const std::string& owner, std::int32_t parentId,
                                const std::string& name, std::int64_t size, char share,
                                std::int64_t stored) {
  Item file;
  file.owner = owner;
  file.parentId = parentId;
  file.kind = 'f';
  file.name = name;
  file.share = share;
  file.size = size;
  file.stored = stored < 0 ? size : stored;
  std::int32_t id = store.addFile(file);
  if (id == 0) return 0;
  std::string digest = generatedSampleDigest(static_cast<std::uint64_t>(id), size);
  if (!store.setFileInfo(id, size, file.stored, share, uniqueCodeFor(digest, size), digest)) {
    store.remove(id);
    return 0;
  }
  return id;
}

}  // namespace

std::int32_t addGeneratedFile(Store& store, const std::string& owner, std::int32_t parentId,
                              const std::string& name, std::int64_t size, char share,
                              std::int64_t stored) {
  std::int32_t id = addGeneratedRecord(store, owner, parentId, name, size, share, stored);
  if (id == 0) return 0;
  if (!writeGeneratedBody(store.bodyPath(id), static_cast<std::uint64_t>(id),
                          stored < 0 ? size : stored, size)) {
    store.remove(id);
    return 0;
  }
  return id;
}

bool restoreGeneratedBody(Store& store, const Item& file) {
  std::string path = store.bodyPath(file.id);
  if (::access(path.c_str(), F_OK) == 0) return true;
  if (file.isFolder() ||
      file.sampleDigest != generatedSampleDigest(static_cast<std::uint64_t>(file.id), file.size))
    return false;
  // Written aside and renamed, so a reader on another thread (peers) never
  // opens half a body, and two restoring at once both end with the whole.
  std::string aside = path + ".restoring-" + std::to_string(::gettid());
  if (!writeGeneratedBody(aside, static_cast<std::uint64_t>(file.id), file.stored, file.size) ||
      ::rename(aside.c_str(), path.c_str()) != 0) {
    ::unlink(aside.c_str());
    return false;
  }
  return true;
}

std::int32_t findItemId(Store& store, const std::string& owner, const std::string& name) {
  std::vector<std::int32_t> folders{0};
  for (std::size_t next = 0; next < folders.size(); ++next) {
    std::int32_t after = 0;
    for (;;) {
      auto page = store.listPage(owner, folders[next], after, 500, false);
      if (page.empty()) break;
      for (const auto& item : page) {
        if (item.name == name) return item.id;
        if (item.isFolder()) folders.push_back(item.id);
        after = item.id;
      }
    }
  }
  return 0;
}

namespace {

bool seedMembers(Store& store) {
  Member one;
  one.id = demo::kMember1;
  one.password = demo::kPassword1;
  one.displayName = "데모일";
  one.registration = "8501011234567";
  one.flatRate = 0;
  one.credit = demo::kCredit1;
  one.extensionQuota = 100ll << 20;
  one.notesWaiting = true;
  Member two;
  two.id = demo::kMember2;
  two.password = demo::kPassword2;
  two.displayName = "데모이";
  two.registration = "9203152234567";
  two.flatRate = 1;
  two.credit = 500000;
  two.extensionQuota = 10ll << 20;
  return store.addMember(one) && store.addMember(two) &&
         store.addFriend(demo::kMember1, demo::kMember2, "대학 동기");
}

bool seedMember1(Store& store, const ServicePorts& ports) {
  const std::string me = demo::kMember1;
  std::int32_t photos = store.addFolder(me, 0, "사진", 't');
  std::int32_t trips = store.addFolder(me, photos, "여행", 't');
  std::int32_t jeju = store.addFolder(me, trips, "제주도", 'f');
  std::int32_t documents = store.addFolder(me, 0, "문서", 'f');
  std::int32_t videos = store.addFolder(me, 0, "동영상", 'f');
  std::int32_t many = store.addFolder(me, 0, "많은항목", 'f');
  if (!photos || !trips || !jeju || !documents || !videos || !many) return false;

  bool ok = addGeneratedFile(store, me, jeju, "바다.jpg", 180000, 't') &&
            addGeneratedFile(store, me, photos, "가족.jpg", 3145728, 't') &&
            addGeneratedFile(store, me, documents, "안녕.txt", 5) &&
            addGeneratedFile(store, me, documents, "보고서.doc", 5000) &&
            addGeneratedFile(store, me, documents, "미완성.zip", 4000000, 'f', 1500000) &&
            addGeneratedFile(store, me, 0, "메모.txt", 1234);
  if (!ok) return false;

  std::int32_t big = addGeneratedFile(store, me, videos, "큰파일.avi", 12ll << 20, 't');
  std::int32_t guarded = addGeneratedFile(store, me, videos, "보호영상.avi", 700000);
  if (!big || !guarded) return false;
  for (const auto& host : ports.peerHosts) store.addPeerHolder(store.item(big)->uniqueCode, host);
  store.addProtected(store.item(guarded)->uniqueCode);

  for (int i = 1; i <= demo::kManyItems; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "항목%03d.txt", i);
    if (!addGeneratedFile(store, me, many, name, 100 + i)) return false;
  }
  return true;
}

// The additions for the web-storage views (see demo_data.h); also run on a
// data directory seeded before they existed.
bool seedWebStorage(Store& store) {
  Member three;
  three.id = demo::kMember3;
  three.password = demo::kPassword3;
  three.registration = "0503033234567";
  three.credit = 300000;
  three.extensionQuota = 10ll << 20;
  if (!store.addMember(three) || !store.addFriend(demo::kMember1, demo::kMember3, "")) return false;

  const std::string me = demo::kMember1;
  std::int32_t onePage = store.addFolder(me, 0, demo::kOnePageFolder, 'f');
  if (!onePage) return false;
  for (int i = 1; i <= demo::kOnePageItems; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "쪽%02d.txt", i);
    if (!addGeneratedFile(store, me, onePage, name, 200 + i)) return false;
  }
  return store.addFolder(me, 0, demo::kPunctuatedFolder, 'f') &&
         addGeneratedFile(store, me, 0, demo::kPunctuatedFile, 777) &&
         store.addFolder(me, 0, demo::kLongFolder, 'f') &&
         addGeneratedFile(store, me, 0, demo::kTrailLetterFile, 4321);
}

bool seedMember2(Store& store) {
  const std::string me = demo::kMember2;
  std::int32_t shared = store.addFolder(me, 0, "공유자료", 't');
  if (!shared) return false;
  return addGeneratedFile(store, me, shared, "공개문서.pdf", 250000, 't') &&
         addGeneratedFile(store, me, shared, "음악모음.zip", 2000000, 't') &&
         addGeneratedFile(store, me, 0, "비밀.txt", 300, 'f') &&
         addGeneratedFile(store, me, 0, "공지사항.txt", 2048, 't');
}

}  // namespace

std::int32_t addBulkFolder(Store& store, const std::string& owner, const std::string& name,
                           int count) {
  std::int32_t folder = 0;
  bool ok = store.transaction([&] {
    folder = store.addFolder(owner, 0, name, 'f');
    if (!folder) return false;
    for (int i = 1; i <= count; ++i) {
      char file[32];
      std::snprintf(file, sizeof file, "대량%05d.dat", i);
      // Sizes from 64 bytes to about 4 KB, in no order, so sorting has work.
      // Bodies are written when first read (restoreGeneratedBody): creating
      // thousands of small files would take most of the time.
      std::int64_t size = 64 + (static_cast<std::uint32_t>(i) * 2654435761u) % 4000;
      if (!addGeneratedRecord(store, owner, folder, file, size, 'f', -1)) return false;
    }
    return true;
  });
  return ok ? folder : 0;
}

bool ensureBulkFolder(Store& store, const std::string& owner, const std::string& name, int count,
                      std::string* error) {
  if (!store.findByName(owner, 0, name).empty()) return true;
  if (addBulkFolder(store, owner, name, count)) return true;
  if (error) *error = "cannot add the bulk folder for " + owner;
  return false;
}

namespace {

// The file `name` of owner directly in folder with exactly this size: kept
// when it is there; otherwise any file of that name is replaced by a new
// public generated one that the peers hold. Returns its id, 0 on failure.
std::int32_t ensureLargeFile(Store& store, const std::vector<std::string>& peerHosts,
                             std::int32_t folder, const std::string& name, std::int64_t size) {
  const std::string owner = demo::kMember1;
  for (const Item& item : store.findByName(owner, folder, name)) {
    if (!item.isFolder() && item.size == size && item.complete()) {
      // A body cut short by an interrupted first start is written again.
      struct stat body {};
      const std::string path = store.bodyPath(item.id);
      if (::stat(path.c_str(), &body) == 0 && body.st_size != item.stored) ::unlink(path.c_str());
      if (!restoreGeneratedBody(store, item)) return 0;
      return item.id;
    }
    store.remove(item.id);
  }
  std::int32_t id = addGeneratedFile(store, owner, folder, name, size, 't');
  if (id == 0) return 0;
  for (const auto& host : peerHosts) store.addPeerHolder(store.item(id)->uniqueCode, host);
  return id;
}

std::int32_t ensureTopFolder(Store& store, const std::string& name) {
  for (const Item& item : store.findByName(demo::kMember1, 0, name)) {
    if (item.isFolder()) return item.id;
  }
  return store.addFolder(demo::kMember1, 0, name, 't');
}

}  // namespace

bool ensureHugeFile(Store& store, const std::vector<std::string>& peerHosts, std::int64_t size,
                    std::string* error) {
  if (size > 0 && ensureLargeFile(store, peerHosts, 0, demo::kHugeFile, size)) return true;
  if (error) *error = "cannot add the huge file of " + std::to_string(size) + " bytes";
  return false;
}

bool ensureBenchFile(Store& store, const std::vector<std::string>& peerHosts, std::int64_t size,
                     std::string* error) {
  std::int32_t folder = size > 0 ? ensureTopFolder(store, demo::kBenchFolder) : 0;
  if (folder && ensureLargeFile(store, peerHosts, folder, demo::kBenchFile, size)) return true;
  if (error) *error = "cannot add the benchmark file of " + std::to_string(size) + " bytes";
  return false;
}

bool ensureSmallFiles(Store& store, int count, std::string* error) {
  for (const Item& item : store.findByName(demo::kMember1, 0, demo::kSmallFolder)) {
    if (item.isFolder()) return true;
  }
  bool ok = count > 0 && store.transaction([&] {
    std::int32_t folder = store.addFolder(demo::kMember1, 0, demo::kSmallFolder, 't');
    if (!folder) return false;
    for (int i = 1; i <= count; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "작은%05d.bin", i);
      // Bodies are written when first read, as for the bulk folder.
      if (!addGeneratedRecord(store, demo::kMember1, folder, name, demo::kSmallFileSize, 't', -1))
        return false;
    }
    return true;
  });
  if (!ok && error) *error = "cannot add the folder of small files";
  return ok;
}

bool seedDemoData(Store& store, const ServicePorts& ports, std::string* error) {
  // "seeded" counts the seeding steps done: 1 the first demo data, 2 the
  // web-storage additions.
  auto seeded = store.meta("seeded");
  if (seeded && *seeded == "2") return true;
  bool ok = store.transaction([&] {
    if (!seeded && !(seedMembers(store) && seedMember1(store, ports) && seedMember2(store)))
      return false;
    return seedWebStorage(store) && store.setMeta("seeded", "2");
  });
  if (!ok && error) *error = "seeding the demo data failed";
  return ok;
}

}  // namespace service
}  // namespace pom
