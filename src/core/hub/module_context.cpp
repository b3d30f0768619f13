#include "core/hub/module_context.h"

namespace pom {

ModuleContext::ModuleContext(const AppPorts& ports)
    : ports_(ports),
      config_(*ports.profile, *ports.registry, ports.workingDir),
      servers_(*ports.profile) {}

void ModuleContext::note(const std::string& event) const {
  if (ports_.lifecycleObserver) ports_.lifecycleObserver(event.c_str());
}

}  // namespace pom
