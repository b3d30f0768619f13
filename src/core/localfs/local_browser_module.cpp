#include "core/localfs/local_browser_module.h"

#include "core/hub/module_context.h"

namespace pom {

LocalBrowserModule::LocalBrowserModule(ModuleContext& context) : context_(context) {
  context_.provide<LocalBrowserLink>(*this);
}

LocalBrowserModule::~LocalBrowserModule() {
  context_.withdraw<LocalBrowserLink>();
}

}  // namespace pom
