#include "SkinManager.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "Application.h"
#include "SkinControl.h"
#include "SkinDraw.h"
#include "SkinMessages.h"
#include "SkinPlatform.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

TSkinManage* g_manager = nullptr;
HHOOK g_hook = nullptr;
// Set once the manager is gone: the hook procedure then only passes on.
bool g_hookInert = false;

constexpr int kStateDestroying = 4;

LRESULT CALLBACK SkinHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const HHOOK hook = g_hook;
  if (!g_hookInert && code >= 0 && g_manager) g_manager->HookNotification(code, wParam, lParam);
  return CallNextHookEx(hook, code, wParam, lParam);
}

bool ContainsText(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

}  // namespace

std::string WindowClassName(HWND window) {
  char name[101] = {};
  if (!window || GetClassNameA(window, name, 101) <= 0) return std::string();
  return name;
}

void PostToWindow(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (window) PostMessageW(window, msg, wParam, lParam);
}

TSkinManage* SkinManager() { return g_manager; }

TSkinManage& EnsureSkinManager() {
  if (!g_manager) g_manager = new TSkinManage;
  return *g_manager;
}

void FreeSkinManager() {
  TSkinManage* m = g_manager;
  if (!m) return;
  // Asked for while the manager's own timer or hook work runs (a handler
  // freed the last skin data component): it goes when that work returns.
  if (m->Busy()) {
    m->FreeWhenIdle();
    return;
  }
  g_manager = nullptr;
  delete m;
}

// ---- TSkinManage ----------------------------------------------------------

TSkinManage::TSkinManage() : Timer(new TTimer(nullptr)) {
  Timer->SetInterval(100);
  Timer->SetEnabled(false);
  Timer->OnTimer = [this](TObject*) {
    TWork work(this);
    SkinManageTimer();
  };
  g_hookInert = false;
}

TSkinManage::~TSkinManage() {
  State = kStateDestroying;
  SkinningOn = false;
  Timer.reset();
  // Only form skinners carrying this manager's stamp are its own to free.
  for (size_t i = SkinnedForms.size(); i-- > 0;) {
    TWinSkinForm* form = SkinnedForms[i];
    SkinnedForms.erase(SkinnedForms.begin() + static_cast<std::ptrdiff_t>(i));
    if (form->FManagerStamp != Stamp) continue;
    form->FState = kStateDestroying;
    form->UnskinOnDestroy();
    form->Free();
  }
  FreePopupMenus();
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  g_hook = nullptr;
  g_hookInert = true;
}

void TSkinManage::InstallSkinHook() {
  skinplatform::VersionWord();
  if (hook_) return;
  hook_ = SetWindowsHookExA(WH_CBT, SkinHookProc, nullptr, GetCurrentThreadId());
  g_hook = hook_;
}

void TSkinManage::HookNotification(int code, WPARAM wParam, LPARAM lParam) {
  TWork work(this);
  try {
    OnHook(code, wParam, lParam);
  } catch (...) {
    // A window the engine could not skin stays as it is.
  }
}

TSkinManage::TWork::TWork(TSkinManage* m) : manager(m) { manager->busy_++; }

TSkinManage::TWork::~TWork() {
  if (--manager->busy_ == 0 && manager->freeWhenIdle_) {
    manager->freeWhenIdle_ = false;
    FreeSkinManager();
  }
}

void TSkinManage::OnHook(int code, WPARAM wParam, LPARAM lParam) {
  switch (code) {
    case HCBT_CREATEWND: {
      HWND window = reinterpret_cast<HWND>(wParam);
      auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
      const CREATESTRUCTA* cs = cbt ? cbt->lpcs : nullptr;
      if (!cs) return;
      const std::string cls = WindowClassName(window);
      if (cls == "ScrollBar" && (cs->style & SBS_SIZEGRIP))
        if (TWinSkinForm* form = FindSkinnedForm(cs->hwndParent)) form->SkinChildWindows(window);
      if (!(cs->style & WS_CHILD) && cls == "#32768") SkinPopupMenuWindow(window);
      if (cs->dwExStyle & WS_EX_MDICHILD) SkinWindow(window);
      break;
    }
    case HCBT_DESTROYWND: ReleasePopupMenuWindow(reinterpret_cast<HWND>(wParam)); break;
    case HCBT_ACTIVATE:
      if (State == 0) State = 1;
      SkinWindow(reinterpret_cast<HWND>(wParam));
      break;
    default: break;
  }
}

void TSkinManage::RegisterSkinData(TSkinData* skin) {
  if (std::find(SkinDataList.begin(), SkinDataList.end(), skin) == SkinDataList.end()) SkinDataList.push_back(skin);
  if (!MainSkinData && skin->SkinFormtype == sfMainform) MainSkinData = skin;
}

void TSkinManage::UnregisterSkinData(TSkinData* skin) {
  SkinDataList.erase(std::remove(SkinDataList.begin(), SkinDataList.end(), skin), SkinDataList.end());
  if (MainSkinData == skin) MainSkinData = nullptr;
  if (PendingSkinData == skin) PendingSkinData = nullptr;
  // The form skinners and menu skinners that draw with it are released
  // with it: none may keep painting from a skin that is gone.
  for (size_t i = SkinnedForms.size(); i-- > 0;) {
    if (i >= SkinnedForms.size()) continue;
    TWinSkinForm* form = SkinnedForms[i];
    if (form->FSkinData != skin || form->FManagerStamp != Stamp) continue;
    Unskin(form);
  }
  for (auto& menu : PopupMenus)
    if (menu->MenuSkinData == skin) {
      menu->Detach();
      menu->MenuSkinData = nullptr;
    }
}

void TSkinManage::PostSkinRequest(int mode, int interval) {
  PendingMode = mode;
  Timer->SetInterval(interval);
  if (State != 0) {
    Timer->SetEnabled(true);
    return;
  }
  // No window has been activated yet: the windows are skinned as the hook
  // sees them activated.
  if (mode == 1) SkinningOn = true;
  else if (mode == 2) SkinningOn = false;
}

TControl* TSkinManage::FindFrameworkForm(HWND window) {
  for (int i = 0; i < Screen().FormCount(); i++) {
    TForm* f = Screen().Forms(i);
    if (f && f->HandleIfAllocated() == window) return f;
  }
  return ControlOfWindow(window);
}

bool TSkinManage::SkinWindow(HWND window) {
  if (!SkinningOn || !window) return false;
  PurgeSkinnedForms();
  if (FindSkinnedForm(window)) return false;
  if (SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1) return false;
  TControl* form = FindFrameworkForm(window);
  const std::string cls = WindowClassName(window);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  if (!StartPass) {
    const bool mdiClientChild = (style & WS_CHILD) && !(exStyle & WS_EX_MDICHILD) &&
                                LowerCase(WindowClassName(GetParent(window))) == "mdiclient";
    if (mdiClientChild) return false;
  }
  const bool ours = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window, GWLP_HINSTANCE)) == GetModuleHandleW(nullptr);
  if (!form && !ours && cls != "#32770") return false;
  RECT r;
  GetWindowRect(window, &r);
  if ((r.right - r.left) * (r.bottom - r.top) == 0 && !(exStyle & WS_EX_MDICHILD)) return false;
  if (form && form->Tag() == 99) return false;
  if (ContainsText(cls, "TcxPopupEditPopupWindow") || ContainsText(cls, "TTERenderWindow") || cls == "TApplication")
    return false;
  if (!ShouldSkinWindow(window, cls)) return false;
  TSkinData* skin = ChooseSkinData(window);
  if (!skin || skin->NotLoaded) return false;

  auto* skinner = new TWinSkinForm(form);
  skinner->FHandle = window;
  skinner->FManagerStamp = Stamp;
  skinner->FName = cls;
  try {
    if (form)
      skinner->SetupFrameworkForm(skin, form);
    else
      skinner->SetupWindow(skin);
  } catch (...) {
    // A window the engine fails on stays unskinned; the program goes on.
    skinner->UnskinWindow();
    skinner->Free();
    return false;
  }
  SkinnedForms.push_back(skinner);
  PostToWindow(window, SKM_FORMSKINNED, 0, 1000);
  return true;
}

bool TSkinManage::ShouldSkinWindow(HWND window, const std::string& className) {
  if (!MainSkinData) return true;
  bool doSkin = true;
  const std::string lower = LowerCase(className);
  if (!MainSkinData->HasOption(xoPreview) && ContainsText(lower, "preview")) doSkin = false;
  if (className == "#32770" && (GetWindowLongW(window, GWL_STYLE) & 0x200)) doSkin = false;
  if (lower == "tpopupdbtreeview") doSkin = false;
  MainSkinData->AskFormSkin(window, className, doSkin);
  return doSkin;
}

TSkinData* TSkinManage::ChooseSkinData(HWND window) const {
  TSkinData* found = nullptr;
  for (TSkinData* s : SkinDataList) {
    if (s->SkinFormtype != sfOnlyThisForm) continue;
    auto* owner = dynamic_cast<TWinControl*>(s->Owner());
    if (owner && owner->HandleIfAllocated() == window) found = s;
  }
  if (found) return found;
  const std::string lower = LowerCase(WindowClassName(window));
  if (lower == "tmessageform" || lower == "#32770")
    for (TSkinData* s : SkinDataList)
      if (s->SkinFormtype == sfDialog) found = s;
  if (found) return found;
  for (TSkinData* s : SkinDataList)
    if (s->SkinFormtype == sfMainform) found = s;
  if (found) return found;
  return SkinDataList.empty() ? nullptr : SkinDataList.front();
}

void TSkinManage::SkinForm(TForm* form) {
  if (!form || !form->Visible()) return;
  HWND h = form->HandleIfAllocated();
  if (!h || (GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) return;
  SkinWindow(h);
}

void TSkinManage::PurgeSkinnedForms() {
  if (State == kStateDestroying) return;
  for (size_t i = SkinnedForms.size(); i-- > 0;) {
    if (i >= SkinnedForms.size()) continue;
    TWinSkinForm* form = SkinnedForms[i];
    if (form->FState != 6 || form->FManagerStamp != Stamp) continue;
    SkinnedForms.erase(SkinnedForms.begin() + static_cast<std::ptrdiff_t>(i));
    form->Free();
  }
}

TWinSkinForm* TSkinManage::FindSkinnedForm(HWND window) const {
  if (!window) return nullptr;
  for (TWinSkinForm* f : SkinnedForms)
    if (f->FHandle == window) return f;
  return nullptr;
}

void TSkinManage::RemoveSkinnedForm(HWND window) {
  if (State == kStateDestroying) return;
  for (auto it = SkinnedForms.begin(); it != SkinnedForms.end(); ++it)
    if ((*it)->FHandle == window) {
      SkinnedForms.erase(it);
      return;
    }
}

void TSkinManage::RemoveSkinnedForm(TWinSkinForm* form) {
  SkinnedForms.erase(std::remove(SkinnedForms.begin(), SkinnedForms.end(), form), SkinnedForms.end());
}

void TSkinManage::Unskin(TWinSkinForm* form) {
  RemoveSkinnedForm(form);
  form->UnskinWindow();
  if (form->FHandle && IsWindow(form->FHandle)) TWinSkinForm::RepaintWindowNow(form->FHandle);
  form->Free();
}

void TSkinManage::StopForms(TSkinData* only) {
  PurgeSkinnedForms();
  if (only) {
    for (size_t i = SkinnedForms.size(); i-- > 0;)
      if (SkinnedForms[i]->FSkinData == only) {
        Unskin(SkinnedForms[i]);
        return;
      }
    return;
  }
  while (!SkinnedForms.empty()) Unskin(SkinnedForms.front());
}

void TSkinManage::ChangeSkin(TSkinData* only) {
  PurgeSkinnedForms();
  std::vector<TWinSkinForm*> forms;
  for (TWinSkinForm* f : SkinnedForms)
    if (f->FSkinData == PendingSkinData) {
      forms.push_back(f);
      if (only) break;
    }
  for (TWinSkinForm* f : forms) {
    f->FreeSysButtons();
    f->BuildFrame();
  }
  for (TWinSkinForm* f : forms)
    if (std::find(SkinnedForms.begin(), SkinnedForms.end(), f) != SkinnedForms.end()) f->ApplyNewSkin();
}

void TSkinManage::SkinManageTimer() {
  Timer->SetEnabled(false);
  TSkinData* skin = PendingSkinData;
  if (!skin) return;
  const bool onlyThis = skin->SkinFormtype == sfOnlyThisForm;
  switch (PendingMode) {
    case 1: {
      SkinningOn = true;
      StartPass = true;
      PurgeSkinnedForms();
      for (int i = Screen().FormCount(); i-- > 0;) {
        if (i >= Screen().FormCount()) continue;
        TForm* f = Screen().Forms(i);
        if (onlyThis && f != skin->Owner()) continue;
        SkinForm(f);
      }
      StartPass = false;
      break;
    }
    case 2:
      SkinningOn = false;
      StopForms(onlyThis ? skin : nullptr);
      break;
    case 3: ChangeSkin(onlyThis ? skin : nullptr); break;
    default: break;
  }
  // The component may have gone in the meantime (a handler freed it).
  if (std::find(SkinDataList.begin(), SkinDataList.end(), skin) != SkinDataList.end()) skin->DoSkinChanged();
  PendingSkinData = nullptr;
}

void TSkinManage::SetMdiChildMaximized(bool flag) {
  if (flag == MdiChildMaximized) return;
  MdiChildMaximized = flag;
  if (MainSkinData && MainSkinData->HasOption(xoMDIChildBorder)) return;
  for (TWinSkinForm* f : SkinnedForms) {
    if (f->FFormKind != 2) continue;
    if (flag) {
      if (f->FRegionSet) f->DropWindowRegion();
    } else {
      if (f->FWindowState == 2) continue;
      f->FWindowState = 0;
      f->UpdateWindowRegion();
      if (!f->FRegionSet)
        SetWindowPos(f->FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
  }
}

void TSkinManage::ResetCaptionButtons() {
  for (TWinSkinForm* f : SkinnedForms)
    if (f->FSkinData == PendingSkinData) f->FreeSysButtons();
}

// ---- pop-up menu windows ----------------------------------------------------

void TSkinManage::SkinPopupMenuWindow(HWND window) {
  if (!SkinningOn) return;
  if (SendMessageW(window, SKM_ISSKINNED, 0, 0) == 1 || IsPopupMenuSkinned(window)) return;
  TSkinData* skin = ChooseSkinData(window);
  if (!skin || skin->NotLoaded) return;
  bool enabled = false;
  switch (PopupKind) {
    case 0: enabled = skin->HasControl(xcPopupMenu); break;
    case 1: enabled = skin->HasControl(xcMainMenu) || skin->HasControl(xcMenuItem); break;
    case 2: enabled = skin->HasControl(xcSystemMenu); break;
    default: break;
  }
  if (!enabled) return;
  std::unique_ptr<TWinSkinPopMenu> menu(new TWinSkinPopMenu);
  menu->Attach(window, skin, nullptr);
  PopupMenus.push_back(std::move(menu));
}

bool TSkinManage::ReleasePopupMenuWindow(HWND window) {
  bool found = false;
  for (auto it = PopupMenus.begin(); it != PopupMenus.end(); ++it)
    if ((*it)->Wnd == window) {
      (*it)->Detach();
      PopupMenus.erase(it);
      found = true;
      break;
    }
  if (PopupMenus.empty()) {
    MenuTracking = false;
    PopupKind = 0;
  }
  return found;
}

bool TSkinManage::IsPopupMenuSkinned(HWND window) const {
  for (const auto& m : PopupMenus)
    if (m->Wnd == window) return true;
  return false;
}

void TSkinManage::AssignPopupMenuOwner(HMENU menu) {
  if (!menu) return;
  for (const auto& m : PopupMenus)
    if (m->OwnerTag == menu) return;  // already known
  for (size_t i = PopupMenus.size(); i-- > 0;)
    if (!PopupMenus[i]->OwnerTag) {
      PopupMenus[i]->OwnerTag = menu;
      return;
    }
}

TBitmap* TSkinManage::PopupMenuBitmap(HMENU menu) {
  for (const auto& m : PopupMenus)
    if (m->OwnerTag == menu && menu) return &m->Bitmap;
  return nullptr;
}

void TSkinManage::FreePopupMenus() {
  for (auto& m : PopupMenus) m->Detach();
  PopupMenus.clear();
}

// ---- TWinSkinPopMenu ----------------------------------------------------------

TWinSkinPopMenu::TWinSkinPopMenu() = default;

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND window, TSkinData* skin, HMENU ownerTag) {
  Wnd = window;
  MenuSkinData = skin;
  OwnerTag = ownerTag;
  subclass_.Install(window, [this](TMessage& m) { PopMenuWindowProc(m); });
}

void TWinSkinPopMenu::Detach() {
  if (!subclass_.Installed()) return;
  subclass_.Remove();
  Bitmap.SetSize(0, 0);
}

void TWinSkinPopMenu::PopMenuWindowProc(TMessage& m) {
  if (m.Msg == SKM_ISSKINNED) {
    m.Result = 1;
    return;
  }
  TSkinManage* manager = SkinManager();
  if (!manager || !manager->SkinningOn) {
    CallDefault(m);
    return;
  }
  switch (m.Msg) {
    case WM_DESTROY:
      Detach();
      CallDefault(m);  // passes on also after the procedure came out
      break;
    case WM_ERASEBKGND:
      if (skinplatform::IsNT())
        EraseBackground(m);
      else
        m.Result = 0;
      break;
    case WM_NCPAINT: PaintNonClient(m); break;
    case WM_PRINT: PaintPrint(m); break;
    default: CallDefault(m); break;
  }
}

void TWinSkinPopMenu::EraseBackground(TMessage& m) {
  if (!MenuSkinData || !MenuSkinData->HasOption(xoMenuBG)) CallDefault(m);
  m.Result = 1;
}

bool TWinSkinPopMenu::MakeBackground() {
  if (!MenuSkinData || MenuSkinData->NotLoaded) return false;
  TDataSkinObject* bg = MenuSkinData->MenuBackground.get();
  if (!bg || bg->Bitmap.Empty()) return false;
  RECT w;
  if (!GetWindowRect(Wnd, &w)) return false;
  const TSkinRect r = SkinRect(0, 0, w.right - w.left, w.bottom - w.top);
  std::unique_ptr<TBitmap> image(MakeSkinImage(r, bg->Bitmap, bg->Margins(), false, bg->Tile == 1, 1, 1));
  if (!image) return false;
  CopyBitmap(*image, Bitmap);
  return true;
}

void TWinSkinPopMenu::PaintNonClient(TMessage& m) {
  if (m.WParam != 1 || !MakeBackground()) {
    CallDefault(m);
    return;
  }
  // The whole window, frame included: the window's own DC.
  HDC dc = GetWindowDC(Wnd);
  if (dc) {
    BitBlt(dc, 0, 0, Bitmap.Width(), Bitmap.Height(), Bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
    ReleaseDC(Wnd, dc);
  }
  m.Result = 0;
}

void TWinSkinPopMenu::PaintPrint(TMessage& m) {
  RECT w;
  HDC target = reinterpret_cast<HDC>(m.WParam);
  if (!target || !GetWindowRect(Wnd, &w) || !MakeBackground()) {
    CallDefault(m);
    return;
  }
  RECT inner = {3, 3, w.right - w.left - 3, w.bottom - w.top - 3};
  HRGN clip = CreateRectRgnIndirect(&inner);
  BitBlt(target, 0, 0, Bitmap.Width(), Bitmap.Height(), Bitmap.Canvas()->Handle(), 0, 0, SRCCOPY);
  const int oldMode = SetBkMode(target, TRANSPARENT);
  SelectClipRgn(target, clip);
  CallDefault(m);
  SelectClipRgn(target, nullptr);
  DeleteObject(clip);
  SetBkMode(target, oldMode);
}
