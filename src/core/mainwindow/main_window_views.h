// MainWindowViews: the views the main-window module asks the front end for.
#pragma once

#include <memory>

#include "core/mainwindow/main_window_view.h"

namespace pom {

class MainWindowPresenter;

class MainWindowViews {
 public:
  static constexpr char kLinkName[] = "MainWindowViews";
  virtual ~MainWindowViews() = default;
  // The main layout on the top window (null when the front end has none).
  virtual std::unique_ptr<MainWindowView> createMainWindowView(MainWindowPresenter& presenter) = 0;
};

}  // namespace pom
