#include "framework/accessible.h"

#include <oleacc.h>

#include <atomic>

#include "settings/systemlibrary.h"
#include "settings/widetext.h"

namespace pendo {

namespace {

// Asked for only when a screen reader asks: the program starts without these
// libraries.
struct taccessibility {
  using tcreate = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
  using tlresult = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
  using tallocate = BSTR(WINAPI*)(const OLECHAR*, UINT);
  tcreate createStandard = nullptr;
  tlresult lresultFromObject = nullptr;
  tallocate allocString = nullptr;
  static const taccessibility& Get() {
    static const taccessibility a{
        SystemFunction<tcreate>(L"oleacc.dll", "CreateStdAccessibleObject"),
        SystemFunction<tlresult>(L"oleacc.dll", "LresultFromObject"),
        SystemFunction<tallocate>(L"oleaut32.dll", "SysAllocStringLen")};
    return a;
  }
  bool Usable() const { return createStandard && lresultFromObject && allocString; }
};

// The client object of one window: name, value and role from the texts,
// the rest from the system's standard object for the window.
class taccessible : public IAccessible {
 public:
  taccessible(HWND window, taccessibletexts texts) : texts_(std::move(texts)) {
    taccessibility::Get().createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                         reinterpret_cast<void**>(&standard_));
  }
  virtual ~taccessible() {
    if (standard_) standard_->Release();
  }
  bool Valid() const { return standard_ != nullptr; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: not scripted.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible: ours.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child) || !texts_.name) return standard_->get_accName(child, name);
    return Text(texts_.name, name);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!IsSelf(child) || !texts_.value) return standard_->get_accValue(child, value);
    return Text(texts_.value, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!IsSelf(child) || texts_.role == 0) return standard_->get_accRole(child, role);
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    role->lVal = texts_.role;
    return S_OK;
  }

  // IAccessible: the system's.
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** p) override { return standard_->get_accParent(p); }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* n) override { return standard_->get_accChildCount(n); }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT c, IDispatch** d) override { return standard_->get_accChild(c, d); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT c, BSTR* d) override {
    return standard_->get_accDescription(c, d);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT c, VARIANT* s) override { return standard_->get_accState(c, s); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT c, BSTR* h) override { return standard_->get_accHelp(c, h); }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* f, VARIANT c, long* t) override {
    return standard_->get_accHelpTopic(f, c, t);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT c, BSTR* k) override {
    return standard_->get_accKeyboardShortcut(c, k);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* f) override { return standard_->get_accFocus(f); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* s) override { return standard_->get_accSelection(s); }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT c, BSTR* a) override {
    return standard_->get_accDefaultAction(c, a);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long f, VARIANT c) override { return standard_->accSelect(f, c); }
  HRESULT STDMETHODCALLTYPE accLocation(long* l, long* t, long* w, long* h, VARIANT c) override {
    return standard_->accLocation(l, t, w, h, c);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long d, VARIANT s, VARIANT* e) override {
    return standard_->accNavigate(d, s, e);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* c) override { return standard_->accHitTest(x, y, c); }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT c) override { return standard_->accDoDefaultAction(c); }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
  static HRESULT Text(const std::function<std::string()>& read, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    try {
      const std::wstring wide = Wide(read());
      *out = taccessibility::Get().allocString(wide.data(), static_cast<UINT>(wide.size()));
      return *out ? S_OK : E_OUTOFMEMORY;
    } catch (...) {
      return E_FAIL;
    }
  }

  std::atomic<ULONG> refs_{1};
  IAccessible* standard_ = nullptr;
  taccessibletexts texts_;
};

}  // namespace

LRESULT AnswerGetObject(HWND window, WPARAM wp, LPARAM lp, const taccessibletexts& texts) {
  if (static_cast<LONG>(lp) != static_cast<LONG>(OBJID_CLIENT) || !taccessibility::Get().Usable()) return 0;
  auto* object = new taccessible(window, texts);
  LRESULT result = 0;
  if (object->Valid())
    result = taccessibility::Get().lresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
  // LresultFromObject holds its own reference.
  object->Release();
  return result < 0 ? 0 : result;
}

void TellAccessibleChange(HWND window, DWORD event) {
  if (!window) return;
  if (event) {
    NotifyWinEvent(event, window, OBJID_CLIENT, CHILDID_SELF);
    return;
  }
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace pendo
