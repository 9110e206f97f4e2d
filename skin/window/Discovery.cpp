// Which control skinner each control of a skinned window gets. Framework
// controls go first through the program's OnSkinControl event, then the
// skin data's class-name map (Skin3rd), then an ordered table of class
// tests gated by SkinControls; plain child windows go by their window
// class. A control whose Tag is the DisableTag, that is excluded or
// already skinned gets nothing. A kind whose skinner is not built makes
// nothing.
#include <algorithm>
#include <any>
#include <functional>
#include <string>
#include <vector>

#include "PropertyText.h"
#include "SkinControl.h"
#include "SkinManager.h"
#include "SkinMessages.h"
#include "TextUtils.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

namespace {

// The class tests of framework kinds, by the name of the class (or an
// ancestor) that stands for the kind.
bool Is(const TControl* c, const char* kind) { return c && c->InheritsFrom(kind); }

bool IsTabFamily(const TControl* c) { return Is(c, "TCustomTabControl"); }
bool IsPlainTabControl(const TControl* c) { return Is(c, "TTabControl"); }
bool IsToolButton(const TControl* c) { return Is(c, "TToolButton"); }
bool IsCoolBar(const TControl* c) { return Is(c, "TCoolBar"); }
bool IsTabSheet(const TControl* c) { return Is(c, "TTabSheet"); }
bool IsStyledTab(const TControl* c) { return Is(c, "TCustomTabBar") && IsPublishedProp(c, "Style"); }
bool IsHeaderControl(const TControl* c) { return Is(c, "TCustomHeaderControl"); }
bool IsTrackBar(const TControl* c) { return Is(c, "TTrackBar"); }
bool IsRadioGroup(const TControl* c) { return Is(c, "TCustomRadioGroup"); }
bool IsRadioButton(const TControl* c) { return Is(c, "TRadioButton"); }
bool IsToolBar(const TControl* c) { return Is(c, "TToolBar"); }
bool IsStatusBar(const TControl* c) { return Is(c, "TStatusBar"); }
bool IsProgressBar(const TControl* c) { return Is(c, "TProgressBar"); }
bool IsScrollBox(const TControl* c) { return Is(c, "TScrollingWinControl"); }
bool IsDateTimePicker(const TControl* c) { return Is(c, "TDateTimePicker"); }
bool IsListView(const TControl* c) { return Is(c, "TCustomListView") || Is(c, "TListView"); }
bool IsFrame(const TControl* c) { return Is(c, "TCustomFrame"); }
// The two further scrolling kinds, and the list-like kinds with scroll bars.
bool IsTreeView(const TControl* c) { return Is(c, "TCustomTreeView"); }
bool IsGrid(const TControl* c) { return Is(c, "TCustomGrid"); }
bool IsListLike(const TControl* c) {
  return Is(c, "TCustomListBox") || Is(c, "TCustomMemo") || Is(c, "TCustomRichEdit") || IsTreeView(c) || IsGrid(c);
}

std::string EnumText(const TObject* o, const char* name) {
  std::string text;
  GetEnumPropByName(o, name, text);
  return text;
}

}  // namespace

// ---- the walk over a framework form ------------------------------------------

void TWinSkinForm::SkinFormControls(TControl* form) {
  PurgeDeadSkinners();
  SkinComponents(form);
  if (auto* w = dynamic_cast<TWinControl*>(form)) {
    std::vector<TWinControl*> list;
    w->GetTabOrderList(list);
    for (TWinControl* c : list)
      if (!IsControlExcluded(c)) SkinFrameworkControls(c, form);
  }
}

void TWinSkinForm::SkinComponents(TComponent* owner) {
  if (!owner || !FSkinData) return;
  // A copy: skinning adds components (the skinners) to the controls, not
  // to owner, but a handler may change the list.
  const std::vector<TComponent*> components = owner->Components();
  for (TComponent* c : components)
    if (auto* control = dynamic_cast<TControl*>(c)) SkinFrameworkControls(control, owner);
  if (FSkinData->HasControl(xcPopupMenu)) SkinPopupMenus(owner, true, true);
}

void TWinSkinForm::SkinChildControls(TWinControl* parent) {
  if (!parent) return;
  const std::vector<TControl*> children = parent->Controls();
  for (TControl* c : children) SkinFrameworkControls(c, parent);
}

bool TWinSkinForm::IsControlExcluded(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || !w->HandleIfAllocated()) return true;
  if (control->Tag() == FSkinData->DisableTag) return true;
  if (SendMessageW(w->HandleIfAllocated(), SKM_ISSKINNED, 0, 0) == 1) return true;
  return FindSkinnerByHandle(w->HandleIfAllocated()) != nullptr;
}

void TWinSkinForm::DisableGroupItems(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || w->ControlCount() == 0) return;
  const std::string cls = LowerCase(control->ClassName());
  if (cls.find("radiogroup") == std::string::npos && cls.find("checkgroup") == std::string::npos) return;
  for (TControl* child : w->Controls()) child->SetTag(FSkinData->DisableTag);
}

bool TWinSkinForm::HasScrollBars(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w) return false;
  if (HWND h = w->HandleIfAllocated())
    if (GetWindowLongW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) return true;
  return IsListLike(control);
}

void TWinSkinForm::SkinBorderedEdit(TControl* control) {
  auto* w = dynamic_cast<TWinControl*>(control);
  if (!w || !w->HandleIfAllocated()) return;
  RECT window, client;
  GetWindowRect(w->HandleIfAllocated(), &window);
  GetClientRect(w->HandleIfAllocated(), &client);
  OffsetRect(&window, -window.left, -window.top);
  if (window.right == client.right && window.bottom == client.bottom) return;
  if (TSkinControl* s = MakeSkinner("TSkinEdit", control)) s->InitSkin(this, FSkinData, FControlCanvas.get(), false);
}

namespace {

// What a row of the tables does with a control.
struct TSkinning {
  TWinSkinForm* form;
  TControl* control;
  TSkinData* skin;
  TCanvas* canvas;

  // A skinner of the kind on the control, set up with InitSkin.
  TSkinControl* Make(const char* kind, bool useSkinColour, TControl* on = nullptr) const {
    TControl* target = on ? on : control;
    TSkinControl* s = MakeSkinner(kind, target);
    if (s) s->InitSkin(form, skin, canvas, useSkinColour);
    return s;
  }
  // A skinner with its own set-up for scroll bars.
  TSkinControl* MakeScroll(const char* kind, TControl* on = nullptr, const char* mode = nullptr) const {
    TControl* target = on ? on : control;
    TSkinControl* s = MakeSkinner(kind, target);
    if (!s) return nullptr;
    if (mode) s->Configure("Mode", mode);
    s->InitScrollSkin(target, skin, form, canvas);
    return s;
  }
  TSkinControl* MakeOwn(const char* kind, TControl* on = nullptr) const {
    TControl* target = on ? on : control;
    TSkinControl* s = MakeSkinner(kind, target);
    if (s) s->InitOwnSkin(form, skin, canvas);
    return s;
  }
  // One kind for every child control of the control.
  void ForChildren(const std::function<void(TControl*)>& action) const {
    auto* w = dynamic_cast<TWinControl*>(control);
    if (!w) return;
    const std::vector<TControl*> children = w->Controls();
    for (TControl* child : children) action(child);
  }
};

}  // namespace

bool TWinSkinForm::CreateSkinner(const std::string& className, TControl* control) {
  const std::string key = LowerCase(className) + "=";
  std::string kind;
  bool found = false;
  TStrings* map = FSkinData->Skin3rd();
  for (int i = 0; map && i < map->Count() && !found; i++) {
    const std::string row = map->Strings(i);
    if (LowerCase(row).compare(0, key.size(), key) != 0) continue;
    kind = row.substr(row.find('=') + 1, 50);
    found = true;
  }
  // A row with nothing after its "=" counts as no row.
  if (!found || kind.empty()) return false;
  kind = LowerCase(kind);  // kinds are compared without regard to letter case
  TSkinData& s = *FSkinData;
  const TSkinning k{this, control, FSkinData, FControlCanvas.get()};
  const bool tabSkin = s.Tabs != nullptr;
  if (kind == "nil") return true;
  if (kind == "combobox") {
    if (s.HasControl(xcCombo)) k.Make("TSkinComBox", false);
  } else if (kind == "comboboxex") {
    if (s.HasControl(xcCombo))
      if (TSkinControl* c = k.Make("TSkinComBox", false)) c->Configure("BoxedArrow", "1");
  } else if (kind == "edit") {
    if (s.HasControl(xcEdit)) SkinBorderedEdit(control);
  } else if (kind == "radiobutton") {
    if (s.HasControl(xcRadioButton)) k.Make("TSkinRadioButton", false);
  } else if (kind == "panel") {
    if (s.HasControl(xcPanel)) {
      SetPropByName(control, "Transparent", "True");
      k.Make("TSkinBox", true);
    }
  } else if (kind == "trackbar") {
    if (s.HasControl(xcButton)) {
      SetPropByName(control, "Transparent", "True");
      k.Make("TSkinTrackBar", false);
    }
  } else if (kind == "button") {
    if (s.HasControl(xcButton)) k.Make("TSkinButton", false);
  } else if (kind == "datetimepicker") {
    if (s.HasControl(xcCombo)) k.Make("TSkinDateTime", false);
  } else if (kind == "mediaplayer") {
    if (s.HasControl(xcButton)) k.Make("TSkinMP", false);
  } else if (kind == "bitbtn") {
    if (s.HasControl(xcButton)) {
      if (key == "tcxbutton=" && EnumText(control, "Kind") == "cxbkDropDownButton")
        k.Make("TSkinMenuButton", false);
      else
        k.Make("TSkinBitButton", false);
    }
  } else if (kind == "pngbitbtn") {
    if (s.HasControl(xcButton)) {
      TSkinControl* b = MakeSkinner("TSkinBitButton", control);
      if (b) {
        b->Configure("GlyphProperty", "PngImage");
        b->InitSkin(this, FSkinData, FControlCanvas.get(), false);
      }
    }
  } else if (kind == "pngspeedbutton") {
    if (s.HasControl(xcButton)) {
      TSkinControl* b = MakeSkinner("TSkinSpeedButton", control);
      if (b) {
        b->Configure("GlyphProperty", "PngImage");
        b->InitOwnSkin(this, FSkinData, FControlCanvas.get());
      }
    }
  } else if (kind == "menubtn") {
    if (s.HasControl(xcButton)) k.Make("TSkinMenuButton", false);
  } else if (kind == "speedbutton") {
    if (s.HasControl(xcSpeedButton)) k.MakeOwn("TSkinSpeedButton");
  } else if (kind == "tab") {
    if (s.HasControl(xcTab) && tabSkin) k.Make("TSkinTab", false);
  } else if (kind == "progress") {
    if (s.HasControl(xcProgress)) k.Make("TSkinProgress", false);
  } else if (kind == "scrollbar") {
    if (s.HasControl(xcScrollbar)) {
      k.MakeScroll("TSkinScrollbar");
      SkinChildControls(dynamic_cast<TWinControl*>(control));
    }
  } else if (kind == "singlescrollbar") {
    if (s.HasControl(xcScrollbar)) k.MakeScroll("TSkinScrollbar", nullptr, "1");
  } else if (kind == "embedscrollbar") {
    if (s.HasControl(xcScrollbar))
      k.ForChildren([&](TControl* child) {
        if (IsScrollBox(child))
          k.MakeScroll("TSkinScControl", child);
        else if (HasScrollBars(child))
          k.MakeScroll("TSkinScrollbar", child);
      });
  } else if (kind == "container") {
    SkinChildControls(dynamic_cast<TWinControl*>(control));
  } else if (kind == "groupbox") {
    if (s.HasControl(xcGroupBox)) k.Make("TSkinGroupBox", true);
  } else if (kind == "advpagecontrol") {
    if (s.HasControl(xcTab)) {
      TSkinControl* p = MakeSkinner("TSkinAdvPage", control);
      if (p) {
        p->Configure("PageStyle", "4");
        p->InitSkin(this, FSkinData, FControlCanvas.get(), true);
      }
    }
  } else if (kind == "radiogroup" || kind == "checkgroup") {
    const bool radio = kind == "radiogroup";
    if (s.HasControl(radio ? xcGroupBox : xcPanel)) {
      if (s.HasControl(xcRadioButton))
        k.ForChildren([&](TControl* child) {
          if (key.find("tkv") != std::string::npos) {
            TSkinControl* g = MakeSkinner("TSkinObjImage", child);
            if (g) {
              g->Configure("GlyphKind", radio ? "2" : "1");
              g->InitSkin(this, FSkinData, FControlCanvas.get(), true);
            }
          } else {
            k.Make(radio ? "TSkinRadioButton" : "TSkinCheckBox", false, child);
          }
        });
      if (radio || s.HasControl(xcGroupBox)) k.Make("TSkinGroupBox", true);
    }
  } else if (kind == "checkbox") {
    if (s.HasControl(xcCheckBox)) k.Make("TSkinCheckBox", false);
  }
  return true;
}

void TWinSkinForm::SkinFrameworkControls(TControl* control, TComponent* owner) {
  if (!control || !FSkinData) return;
  TSkinData& s = *FSkinData;
  if (control->Tag() == s.DisableTag) {
    DisableGroupItems(control);
    return;
  }
  if (!control->Parent() || IsControlRegistered(control)) return;
  const std::string className = UpperCase(control->ClassName());
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    try {
      w->HandleNeeded();
    } catch (...) {
      return;  // a control whose window cannot be made is skipped
    }
    if (!w->HandleIfAllocated()) return;
  }
  if (s.OnSkinControl) {
    TComponent* skinned = nullptr;
    s.OnSkinControl(this, FSkinData, dynamic_cast<TControl*>(owner), control, className, skinned);
    if (skinned) {
      if (auto* skinner = dynamic_cast<TSkinControl*>(skinned)) {
        if (!RegisterSkinner(skinner)) skinner->InitSkin(this, FSkinData, FControlCanvas.get(), skinner->UseSkinColour);
      }
      if (control->InheritsFrom("TCustomPanel")) SkinChildControls(dynamic_cast<TWinControl*>(control));
      return;
    }
  }
  if (CreateSkinner(className, control)) return;
  if (className == "TDBCOMBOBOXEH" || className == "TFRDESIGNERPAGE" || className == "TFRPBOX") return;

  const TSkinning k{this, control, FSkinData, FControlCanvas.get()};
  const bool tabSkin = s.Tabs != nullptr;
  const bool tabs = s.HasControl(xcTab) && tabSkin;
  auto* windowed = dynamic_cast<TWinControl*>(control);

  // The table of class tests, first match decides; a row whose gate is
  // off passes to the next unless it says the walk stops.
  if (IsTabFamily(control) && tabs) {
    if (!IsPlainTabControl(control)) {
      if (TSkinControl* t = MakeSkinner("TSkinTab", control)) {
        t->Configure("Mode", "2");
        t->InitSkin(this, FSkinData, FControlCanvas.get(), false);
      }
    } else if (const std::string style = EnumText(control, "Style"); !style.empty() && style != "tsTabs") {
      k.Make("TSkinTabBtn", false);
    } else {
      k.Make("TSkinTab", false);
    }
    return;
  }
  if (IsToolButton(control) && FSkinFrame) {
    if (auto* item = dynamic_cast<TMenuItem*>(GetObjectPropByName(control, "MenuItem"))) SetMenuItemsOwnerDraw(item, true);
    return;
  }
  if (IsCoolBar(control) && s.HasControl(xcToolbar)) {
    SetPropByName(control, "BandColor", std::to_string(static_cast<int32_t>(s.Colors[sc::ButtonFace])));
    return;
  }
  if (className == "TTABSET" && tabs) {
    k.Make("TSkinTab31", false);
    return;
  }
  if (IsTabSheet(control) && tabs) {
    k.Make("TSkinTabSheet", false);
    return;
  }
  if (className == "TTABBEDNOTEBOOK" && tabs) {
    k.Make("TSkinTab", false);
    return;
  }
  if (className == "TMVCPANEL") {
    SkinChildControls(windowed);
    return;
  }
  if (IsStyledTab(control) && tabs) {
    k.Make(EnumText(control, "Style") == "tsTabs" ? "TSkinTab" : "TSkinTabBtn", false);
    return;
  }
  if (IsHeaderControl(control) && s.HasControl(xcPanel)) {
    k.Make("TSkinHeader", false);
    return;
  }
  if (control->InheritsFrom("TCustomCheckBox") && s.HasControl(xcCheckBox)) {
    k.Make("TSkinCheckBox", false);
    return;
  }
  if (IsTrackBar(control) && s.HasControl(xcTrackBar)) {
    k.Make("TSkinTrackBar", false);
    return;
  }
  if ((className == "TUPDOWN" || className == "TSPINBUTTON") && s.HasControl(xcSpin)) {
    k.Make("TSkinUpDown", false);
    return;
  }
  if (className == "TMEDIAPLAYER" && s.HasControl(xcButton)) {
    k.Make("TSkinMP", false);
    return;
  }
  if (IsRadioGroup(control) && s.HasControl(xcRadioButton)) {
    k.ForChildren([&](TControl* child) { k.Make("TSkinRadioButton", false, child); });
    k.Make("TSkinGroupBox", true);
    return;
  }
  if (className == "TDBNAVIGATOR" && s.HasControl(xcPanel)) {
    k.Make("TSkinBox", true);
    k.ForChildren([&](TControl* child) { SkinFrameworkControls(child, nullptr); });
    return;
  }
  if ((className == "TKVDBCHECKBOX" || className == "TKVCHECKBOX") && s.HasControl(xcCheckBox)) {
    if (TSkinControl* g = MakeSkinner("TSkinObjImage", control)) {
      g->Configure("GlyphKind", "1");
      g->InitSkin(this, FSkinData, FControlCanvas.get(), true);
    }
    return;
  }
  if ((className == "TKVRADIOBUTTON" || className == "TKVDBRADIOBUTTON") && s.HasControl(xcRadioButton)) {
    if (TSkinControl* g = MakeSkinner("TSkinObjImage", control)) {
      g->Configure("GlyphKind", "2");
      g->InitSkin(this, FSkinData, FControlCanvas.get(), true);
    }
    return;
  }
  if ((className == "TCXDBCHECKBOX" || className == "TCXCHECKBOX") && s.HasControl(xcCheckBox)) {
    if (TSkinControl* g = MakeSkinner("TSkinObjImage", control)) {
      g->Configure("GlyphKind", "3");
      g->InitSkin(this, FSkinData, FControlCanvas.get(), true);
    }
    return;
  }
  if (control->InheritsFrom("TCustomGroupBox") && s.HasControl(xcPanel)) {
    SkinChildControls(windowed);
    k.Make("TSkinGroupBox", false);
    return;
  }
  if (IsRadioButton(control) && s.HasControl(xcRadioButton)) {
    k.Make("TSkinRadioButton", false);
    return;
  }
  if (IsToolBar(control) && s.HasControl(xcToolbar)) {
    SetPropByName(control, "Flat", "True");
    InstallToolbarPainters(control);
    k.Make("TSkinBox", false);
    if (auto* menu = dynamic_cast<TMenu*>(GetObjectPropByName(control, "Menu")))
      for (int i = 0; i < menu->Items()->Count(); i++) SetMenuItemsOwnerDraw(menu->Items()->Items(i), true);
    return;
  }
  if (IsStatusBar(control) && s.HasControl(xcStatusBar)) {
    k.Make("TSkinStatusBar", false);
    return;
  }
  if (IsProgressBar(control) && s.HasControl(xcProgress)) {
    k.Make("TSkinProgress", false);
    return;
  }
  if (IsScrollBox(control) && s.HasControl(xcScrollbar)) {
    k.MakeScroll("TSkinScControl");
    return;
  }
  if (className == "TTNTCOMBOBOX" && s.HasControl(xcCombo)) {
    k.Make("TSkinComBox", false);
    return;
  }
  if (control->InheritsFrom("TCustomComboBox") && s.HasControl(xcCombo)) {
    k.Make("TSkinComBox", false);
    return;
  }
  if (IsDateTimePicker(control) && s.HasControl(xcEdit)) {
    const bool upDown = EnumText(control, "DateMode") == "dmUpDown" || EnumText(control, "Kind") == "dtkTime";
    k.Make(upDown ? "TSkinEdit" : "TSkinDateTime", false);
    return;
  }
  if (s.HasControl(xcScrollbar)) {
    if (className == "TRICHEDIT" || className == "TWWDBRICHEDIT" || className == "TDXDBMEMO") {
      k.MakeScroll("TSkinScrollbar");
      return;
    }
  }
  if (control->InheritsFrom("TBitBtn")) {
    if (s.HasControl(xcBitBtn)) k.Make("TSkinBitButton", false);
    return;  // without xcBitBtn the walk stops here
  }
  if (control->InheritsFrom("TSpeedButton") && s.HasControl(xcSpeedButton)) {
    k.MakeOwn("TSkinSpeedButton");
    return;
  }
  if (control->InheritsFrom("TCustomPanel") && s.HasControl(xcPanel)) {
    SkinChildControls(windowed);
    k.Make("TSkinBox", true);
    return;
  }
  if (s.HasControl(xcScrollbar)) {
    if (className == "TDXTREELIST" || className == "TDXDBTREELIST" || className == "TDXDBGRID") {
      k.MakeScroll("TSkinScrollbar");
      return;
    }
    if (IsListView(control)) {
      k.MakeScroll("TSkinListView");
      return;
    }
    if (IsTreeView(control) || IsGrid(control) || HasScrollBars(control)) {
      k.MakeScroll("TSkinScrollbar");
      return;
    }
  }
  if (control->InheritsFrom("TButton") && s.HasControl(xcButton)) {
    k.Make("TSkinButton", false);
    return;
  }
  if (control->InheritsFrom("TCustomEdit") && s.HasControl(xcEdit)) {
    k.Make("TSkinEdit", false);
    return;
  }
  if (className == "TDCEDIT" || className == "TDCDBEDIT") {
    const int32_t buttons = GetOrdPropByName(control, "NumButtons");
    if (buttons == 1 && s.HasControl(xcCombo)) {
      k.Make("TSkinComBox", false);
    } else if (buttons == 0 && s.HasControl(xcEdit) && windowed) {
      if (TSkinControl* e = MakeSkinner("TSkinEdit", control))
        e->InitSkinHandle(windowed->HandleIfAllocated(), FSkinData, this, FControlCanvas.get());
    }
    return;
  }
  if (IsFrame(control)) {
    SkinComponents(control);
    return;
  }
  if (dynamic_cast<TForm*>(control)) {
    k.Make("TSkinBox", true);
    SkinComponents(control);
  }
}

// ---- tool bars ------------------------------------------------------------------------

namespace {

// The painters given to a tool bar; their types tell ours from the bar's own.
struct TToolbarPainter {
  TWinSkinForm* form;
  void operator()(TObject*, TCanvas* canvas, const RECT& rect, bool& defaultDraw) const {
    if (canvas) form->ToolbarCustomDraw(*canvas, rect, defaultDraw);
  }
};
struct TToolbarButtonPainter {
  TWinSkinForm* form;
  void operator()(TObject*, TCanvas* canvas, const RECT& bounds, UINT state, bool& defaultDraw) const {
    if (canvas) form->ToolbarCustomDrawButton(*canvas, bounds, state, defaultDraw);
  }
};

const char kDrawEvent[] = "OnCustomDraw";
const char kDrawButtonEvent[] = "OnCustomDrawButton";

// Puts the painter into an unassigned event; true when it did.
template <class Event, class Painter>
bool GiveUnassigned(TControl* toolbar, const char* name, Painter painter) {
  const TPropInfo* p = toolbar->ClassInfo().FindProp(name);
  if (!p || p->kind != TPropKind::Method || !p->setMethod || !p->methodAssigned) return false;
  if (p->methodAssigned(*toolbar)) return false;
  return p->setMethod(*toolbar, std::any(Event(painter)));
}

// Empties the event again while it still holds our painter (the bar's
// own handler, given meanwhile, stays).
template <class Event, class Painter>
void TakeBack(TControl* toolbar, const char* name) {
  const TPropInfo* p = toolbar->ClassInfo().FindProp(name);
  if (!p || !p->getMethod || !p->setMethod) return;
  std::any current = p->getMethod(*toolbar);
  const Event* e = std::any_cast<Event>(&current);
  if (e && e->template target<Painter>()) p->setMethod(*toolbar, std::any(Event()));
}

}  // namespace

void TWinSkinForm::InstallToolbarPainters(TControl* toolbar) {
  const bool draw = GiveUnassigned<TToolBarCustomDrawEvent>(toolbar, kDrawEvent, TToolbarPainter{this});
  const bool button =
      GiveUnassigned<TToolBarCustomDrawButtonEvent>(toolbar, kDrawButtonEvent, TToolbarButtonPainter{this});
  if (!draw && !button) return;
  FToolbars.push_back(toolbar);
  FreeNotification(toolbar);
}

void TWinSkinForm::RestoreToolbarPainters() {
  for (TControl* toolbar : FToolbars) {
    TakeBack<TToolBarCustomDrawEvent, TToolbarPainter>(toolbar, kDrawEvent);
    TakeBack<TToolBarCustomDrawButtonEvent, TToolbarButtonPainter>(toolbar, kDrawButtonEvent);
    RemoveFreeNotification(toolbar);
  }
  FToolbars.clear();
}

void TWinSkinForm::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  FToolbars.erase(std::remove(FToolbars.begin(), FToolbars.end(), component), FToolbars.end());
  if (component == FForm) FForm = nullptr;
}

// ---- plain child windows --------------------------------------------------------

void TWinSkinForm::SkinChildWindows(HWND window) {
  if (!window || FindSkinnerByHandle(window) || !FSkinData) return;
  TSkinData& s = *FSkinData;
  const std::string cls = LowerCase(WindowClassName(window));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  auto make = [&](const char* kind, HWND on) {
    if (TSkinControl* skinner = MakeSkinner(kind, this))
      skinner->InitSkinHandle(on, FSkinData, this, FControlCanvas.get());
  };
  if (cls == "button" && (style & 0xF) != BS_OWNERDRAW) {
    const LONG type = style & 0xF;
    if (type == BS_GROUPBOX || (style & BS_BITMAP)) return;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE) {
      if (s.HasControl(xcCheckBox)) make("TSkinCheckBox", window);
    } else if (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) {
      if (s.HasControl(xcRadioButton)) make("TSkinRadioButton", window);
    } else if (s.HasControl(xcButton)) {
      make("TSkinButton", window);
    }
    return;
  }
  if (cls == "combobox" && s.HasControl(xcCombo)) {
    if ((style & 3) != CBS_SIMPLE) make("TSkinComBox", window);
    return;
  }
  TWinControl* control = FindControlOfWindow(window);
  if (cls == "comboboxex32") {
    if (s.HasControl(xcCombo))
      if (HWND inner = GetTopWindow(window)) make("TSkinComBox", inner);
  } else if (cls == "scrollbar" && !(style & WS_TABSTOP)) {
    make("TSkinSizer", window);
  } else if (cls == "systreeview32") {
  } else if (cls == "#32770" && !(style & WS_TABSTOP)) {
    SkinWindowChildren(window);
    make("TSkinBoxH", window);
  } else if (cls == "tpanel" || cls == "ttntpanel.unicodeclass" || cls == "ttntsilentpaintpanel.unicodeclass") {
    SkinWindowChildren(window);
    if (control) control->SetColor(s.Colors[sc::ButtonFace]);
  } else if (cls == "tcheckbox") {
    if (s.HasControl(xcCheckBox)) make("TSkinCheckBox", window);
  } else if (cls == "tcombobox") {
    if (s.HasControl(xcCombo)) make("TSkinComBox", window);
  } else if (cls == "tbutton") {
    if (s.HasControl(xcButton)) make("TSkinButton", window);
  } else if (cls == "tprogressbar") {
    make("TSkinProgress", window);
  } else if (cls == "tsilentpaintpanel") {
    if (control) control->SetColor(s.Colors[sc::ButtonFace]);
  } else if (cls == "systabcontrol32") {
    if (s.HasControl(xcTab) && !(style & TCS_OWNERDRAWFIXED)) make("TSkinTab", window);
  } else if (cls == "toolbarwindow32") {
    make("TSkinBoxH", window);
  } else if (cls == "edit") {
    if (s.HasControl(xcEdit)) make("TSkinEdit", window);
  }
}

void TWinSkinForm::SkinWindowChildren(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetTopWindow(window); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongW(child, GWL_STYLE) & WS_CHILD) children.push_back(child);
  for (HWND child : children)
    if (IsWindow(child)) SkinChildWindows(child);
}
