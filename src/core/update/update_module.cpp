#include "core/update/update_module.h"

#include "core/hub/module_context.h"

namespace pom {

UpdateModule::UpdateModule(ModuleContext& context) : context_(context) {
  versions_.load(context_.config());
  context_.provide<VersionLink>(*this);
}

UpdateModule::~UpdateModule() {
  context_.withdraw<VersionLink>();
}

}  // namespace pom
