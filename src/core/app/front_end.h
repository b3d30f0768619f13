// FrontEnd: what a front end (the Win32 program, the headless front end, the
// tests) gives the application: the views of every module that has some.
//
// FrontEnd inherits each module's views interface; a front end that lacks a
// view a module needs does not compile. ClientApp::run offers each interface
// to the modules. A front end that has no window for a view returns null and
// the presenter runs without one.
#pragma once

#include "core/hub/module_context.h"
#include "core/localfs/local_browser_views.h"
#include "core/mainwindow/main_window_views.h"
#include "core/search/search_views.h"
#include "core/session/session_views.h"
#include "core/storage/storage_views.h"
#include "core/transfer/transfer_views.h"

namespace pom {

template <typename... Views>
class FrontEndOf : public Views... {
 public:
  void offerViews(ModuleContext& context) { (context.provide<Views>(*this), ...); }
  void withdrawViews(ModuleContext& context) { (context.withdraw<Views>(), ...); }
};

// The views of every module, one entry per module with views.
using FrontEnd = FrontEndOf<SessionViews, MainWindowViews, StorageViews, TransferViews,
                            LocalBrowserViews, SearchViews>;

}  // namespace pom
