// DragImage: the picture that follows the pointer while items of a control
// are dragged (the web file list's rows, a web tree node, a transfer list's
// rows), with the mouse captured by that control until the drag ends; and
// the two lookups a drop needs: the merged image of a list's selected rows
// and which of the program's top-level windows lies under a point.
//
// The image is drawn over a lock window (the control, its top-level window
// or the desktop) and is seen only inside it. Points are screen
// coordinates. A drag may run without an image
// (none could be made); it still captures the mouse.
//
// The owner ends the drag on release, on a lost capture and before the
// control goes; end() is safe to call at any time, also re-entrantly from
// the WM_CAPTURECHANGED that releasing the capture sends. GUI thread only.
#pragma once

#include <windows.h>
// The common controls' header needs windows.h first.
#include <commctrl.h>

#include <cwchar>

namespace pom {

class DragImage {
 public:
  DragImage() = default;
  ~DragImage() { end(); }
  DragImage(const DragImage&) = delete;
  DragImage& operator=(const DragImage&) = delete;

  // Starts a drag in control; image (null: none) becomes this object's and
  // is held at hotspot (pixels from its top-left corner). lock: the window
  // the image is drawn over (null: the desktop).
  void begin(HWND control, HWND lock, HIMAGELIST image, POINT hotspot, POINT screen) {
    end();
    control_ = control;
    lock_ = lock != nullptr ? lock : GetDesktopWindow();
    image_ = image;
    active_ = true;
    // The image is placed in the lock window's window coordinates (its
    // frame included), not in its client ones.
    RECT outer{};
    GetWindowRect(lock_, &outer);
    lockOrigin_ = {outer.left, outer.top};
    if (image_ != nullptr) {
      ImageList_BeginDrag(image_, 0, hotspot.x, hotspot.y);
      ImageList_DragEnter(lock_, screen.x - lockOrigin_.x, screen.y - lockOrigin_.y);
    }
    SetCapture(control_);
  }

  void move(POINT screen) const {
    if (active_ && image_ != nullptr)
      ImageList_DragMove(screen.x - lockOrigin_.x, screen.y - lockOrigin_.y);
  }

  void end() {
    if (!active_) return;
    active_ = false;  // first: releasing the capture comes back here
    if (image_ != nullptr) {
      ImageList_DragLeave(lock_);
      ImageList_EndDrag();
      ImageList_Destroy(image_);
      image_ = nullptr;
    }
    if (control_ != nullptr && GetCapture() == control_) ReleaseCapture();
    control_ = nullptr;
  }

  bool active() const { return active_; }

  // The mouse messages of the control during a drag: a move moves the
  // image, the button's release calls drop with the screen point, and a
  // capture taken away ends the drag without a drop.
  template <typename Drop>
  void follow(UINT message, LPARAM lParam, Drop drop) {
    if (!active_) return;
    POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ClientToScreen(control_, &at);
    if (message == WM_MOUSEMOVE) {
      move(at);
    } else if (message == WM_LBUTTONUP) {
      drop(at);
    } else if (message == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != control_) {
      end();
    }
  }

 private:
  HWND control_ = nullptr;
  HWND lock_ = nullptr;
  HIMAGELIST image_ = nullptr;
  POINT lockOrigin_{};
  bool active_ = false;
};

// The images of the selected rows of a list view that are in view, merged
// into one at their offsets from the first; origin receives the first one's
// top-left corner in the list's client coordinates. Null when no selected
// row is in view.
inline HIMAGELIST selectedRowsImage(HWND list, POINT& origin) {
  HIMAGELIST merged = nullptr;
  origin = {};
  const int top = ListView_GetTopIndex(list);
  const int last = top + ListView_GetCountPerPage(list);
  for (int row = ListView_GetNextItem(list, top - 1, LVNI_SELECTED); row >= 0 && row <= last;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    POINT at{};
    HIMAGELIST image = ListView_CreateDragImage(list, row, &at);
    if (image == nullptr) continue;
    if (merged == nullptr) {
      merged = image;
      origin = at;
      continue;
    }
    HIMAGELIST both = ImageList_Merge(merged, 0, image, 0, at.x - origin.x, at.y - origin.y);
    ImageList_Destroy(image);
    if (both == nullptr) continue;
    ImageList_Destroy(merged);
    merged = both;
  }
  return merged;
}

namespace drag_detail {

struct ClassSearch {
  const wchar_t* className;
  HWND found;
};

inline BOOL CALLBACK matchClass(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<ClassSearch*>(data);
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (std::wcscmp(name, search->className) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace drag_detail

// This thread's top-level window of a class (shown or not), or null.
inline HWND findOwnWindow(const wchar_t* className) {
  drag_detail::ClassSearch search{className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), drag_detail::matchClass,
                    reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// True when the window under a screen point is this thread's top-level
// window of a class or one of its controls (its list, the list's header).
inline bool isOwnWindowAt(POINT screen, const wchar_t* className) {
  HWND hit = WindowFromPoint(screen);
  if (hit == nullptr) return false;
  HWND top = GetAncestor(hit, GA_ROOT);
  return top != nullptr && top == findOwnWindow(className);
}

}  // namespace pom
