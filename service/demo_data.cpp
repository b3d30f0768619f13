#include "service/demo_data.h"

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

std::int32_t addGeneratedFile(Store& store, const std::string& owner, std::int32_t parentId,
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
  if (!store.setFileInfo(id, size, file.stored, share, uniqueCodeFor(digest, size), digest) ||
      !writeGeneratedBody(store.bodyPath(id), static_cast<std::uint64_t>(id), file.stored)) {
    store.remove(id);
    return 0;
  }
  return id;
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

bool seedDemoData(Store& store, const ServicePorts& ports, std::string* error) {
  if (store.meta("seeded")) return true;
  bool ok = store.transaction([&] {
    return seedMembers(store) && seedMember1(store, ports) && seedMember2(store) &&
           store.setMeta("seeded", "1");
  });
  if (!ok && error) *error = "seeding the demo data failed";
  return ok;
}

}  // namespace service
}  // namespace pom
