#include "win32/browser_host.h"

namespace pom {

bool BrowserHost::embed() {
  IClassFactory* factory = nullptr;
  if (FAILED(CoGetClassObject(CLSID_WebBrowser, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                              nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
      factory == nullptr)
    return false;
  HRESULT created =
      factory->CreateInstance(nullptr, IID_IOleObject, reinterpret_cast<void**>(&object_));
  factory->Release();
  if (FAILED(created) || object_ == nullptr) {
    object_ = nullptr;
    return false;
  }
  RECT rect{};
  GetClientRect(page_, &rect);
  IWebBrowser2* browser = nullptr;
  const bool ok =
      SUCCEEDED(object_->SetClientSite(this)) &&
      SUCCEEDED(object_->SetHostNames(L"My Host Name", nullptr)) &&
      SUCCEEDED(OleSetContainedObject(object_, TRUE)) &&
      SUCCEEDED(object_->DoVerb(OLEIVERB_SHOW, nullptr, this, -1, page_, &rect)) &&
      SUCCEEDED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) &&
      browser != nullptr;
  if (!ok) {
    release();
    return false;
  }
  browser->put_Left(0);
  browser->put_Top(0);
  browser->put_Width(rect.right);
  browser->put_Height(rect.bottom);
  browser->Release();
  return true;
}

void BrowserHost::navigate(const wchar_t* address) {
  IWebBrowser2* browser = nullptr;
  if (object_ == nullptr ||
      FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
    return;
  VARIANT url;
  VariantInit(&url);
  url.vt = VT_BSTR;
  url.bstrVal = SysAllocString(address);
  VARIANT empty;
  VariantInit(&empty);
  browser->Navigate2(&url, &empty, &empty, &empty, &empty);
  VariantClear(&url);
  browser->Release();
}

void BrowserHost::resize(int width, int height) {
  IWebBrowser2* browser = nullptr;
  if (object_ == nullptr ||
      FAILED(object_->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))))
    return;
  browser->put_Width(width);
  browser->put_Height(height);
  browser->Release();
}

void BrowserHost::release() {
  if (object_ == nullptr) return;
  object_->Close(OLECLOSE_NOSAVE);
  object_->SetClientSite(nullptr);
  object_->Release();
  object_ = nullptr;
}

STDMETHODIMP BrowserHost::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IOleInPlaceSite || riid == IID_IOleWindow) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (riid == IID_IDocHostUIHandler) {
    *object = static_cast<IDocHostUIHandler*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  return S_OK;
}

STDMETHODIMP BrowserHost::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BrowserHost::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP BrowserHost::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = page_;
  return S_OK;
}

STDMETHODIMP BrowserHost::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                           LPRECT position, LPRECT clip,
                                           LPOLEINPLACEFRAMEINFO info) {
  if (frame != nullptr) *frame = static_cast<IOleInPlaceFrame*>(this);
  if (document != nullptr) *document = nullptr;
  if (position != nullptr) GetClientRect(page_, position);
  if (clip != nullptr) GetClientRect(page_, clip);
  if (info != nullptr) {
    info->fMDIApp = FALSE;
    info->hwndFrame = GetParent(page_);
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}

STDMETHODIMP BrowserHost::GetHostInfo(DOCHOSTUIINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->cbSize = sizeof(DOCHOSTUIINFO);
  info->dwFlags = DOCHOSTUIFLAG_NO3DBORDER;
  info->dwDoubleClick = DOCHOSTUIDBLCLK_DEFAULT;
  return S_OK;
}

STDMETHODIMP BrowserHost::GetOptionKeyPath(LPOLESTR* key, DWORD) {
  if (key != nullptr) *key = nullptr;
  return S_FALSE;
}

STDMETHODIMP BrowserHost::GetDropTarget(IDropTarget*, IDropTarget** target) {
  if (target != nullptr) *target = nullptr;
  return S_FALSE;
}

STDMETHODIMP BrowserHost::GetExternal(IDispatch** external) {
  if (external != nullptr) *external = nullptr;
  return S_FALSE;
}

STDMETHODIMP BrowserHost::TranslateUrl(DWORD, LPWSTR, LPWSTR* out) {
  if (out != nullptr) *out = nullptr;
  return S_FALSE;
}

STDMETHODIMP BrowserHost::FilterDataObject(IDataObject*, IDataObject** out) {
  if (out != nullptr) *out = nullptr;
  return S_FALSE;
}

}  // namespace pom
