#include "core/storage/storage_module.h"

#include "core/hub/module_context.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/storage_views.h"
#include "core/storage/term_extension_dialog.h"

namespace pom {

StorageModule::StorageModule(ModuleContext& context) : context_(context) {
  context_.provide<StorageLink>(*this);
}

StorageModule::~StorageModule() {
  context_.withdraw<StorageLink>();
}

void StorageModule::create(Stage stage) {
  if (stage != Stage::Windows) return;
  progress_ = std::make_unique<ProgressDialog>();
  context_.note("+ProgressDialog");
  termExtension_ = std::make_unique<TermExtensionDialog>(context_.ports().dialogs);
  context_.note("+TermExtensionDialog");
  StorageReplyTarget& target = *this;
  replies_ =
      std::make_unique<StorageReplies>(context_.replies(), *context_.ports().dialogs, target);
  context_.replies().on<ExtendTermReply>(
      name(), [this](const ExtendTermReply& reply) { onExtendTermReply(reply); });
}

void StorageModule::attachViews() {
  StorageViews* views = nullptr;
  if (!context_.require(views, name())) return;
  progressView_ = views->createProgressDialogView(*progress_);
  progress_->attach(progressView_.get());
  termExtensionView_ = views->createTermExtensionDialogView(*termExtension_);
  termExtension_->attach(termExtensionView_.get(), context_.ports().dialogs);
}

void StorageModule::destroy(Stage stage) {
  if (stage != Stage::Windows || !progress_) return;
  progress_->attach(nullptr);
  progressView_.reset();
  progress_.reset();
  context_.note("-ProgressDialog");
  termExtension_->attach(nullptr, context_.ports().dialogs);
  termExtensionView_.reset();
  termExtension_.reset();
  context_.note("-TermExtensionDialog");
}

void StorageModule::friendListArrived(const FriendList&) {
  progress_->finish();
}

void StorageModule::folderPageArrived(const FolderList&) {
  progress_->finish();
}

void StorageModule::memberFolderPageArrived(const MemberFolderList&) {
  progress_->finish();
}

void StorageModule::onExtendTermReply(const ExtendTermReply& reply) {
  termExtension_->storedValue = reply.value;
  termExtension_->freeQuota = reply.quotaBytes;
  termExtension_->totalUsed = reply.usedBytes;
  termExtension_->result = reply.result;
  termExtension_->open();
}

}  // namespace pom
