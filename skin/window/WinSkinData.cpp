#include "WinSkinData.h"

#include <algorithm>

#include "FormReader.h"
#include "SkinManager.h"
#include "SkinPlatform.h"
#include "SkinRegistration.h"
#include "Application.h"
#include "FileIO.h"
#include "SkinMessages.h"
#include "Text.h"

using namespace fw;

const TEnumType& SkinControlTypeType() {
  static const TEnumType t{"TSkinControlType",
                           {"xcMainMenu", "xcPopupMenu", "xcMenuItem", "xcToolbar", "xcControlbar", "xcCombo",
                            "xcCheckBox", "xcRadioButton", "xcProgress", "xcScrollbar", "xcEdit", "xcButton",
                            "xcBitBtn", "xcSpeedButton", "xcSpin", "xcPanel", "xcGroupBox", "xcStatusBar", "xcTab",
                            "xcTrackBar", "xcSystemMenu", "xcFastReport"}};
  return t;
}

const TEnumType& SkinOptionType() {
  static const TEnumType t{"TSkinOption",
                           {"xoMDIScrollbar", "xoMenuMerge", "xoTransparent", "xoPreview", "xoParentBackGround",
                            "xoNoFocusRect", "xoToolbarBK", "xoToolbarButton", "xoMDIChildBorder", "xoMenuBG",
                            "xoCaptionButtonHint", "xoFormScrollbar"}};
  return t;
}

const TEnumType& SkinFormTypeType() {
  static const TEnumType t{"TSkinFormType", {"sfMainform", "sfOnlyThisForm", "sfDialog", "sfDLL"}};
  return t;
}

const std::vector<std::string>& DefaultSkin3rdMap() {
  static const std::vector<std::string> rows = {
    "TCategoryButtons=scrollbar", "TPngSpeedbutton=pngspeedbutton", "TPngBitBtn=pngbitbtn",
    "TVirtualStringTree=scrollbar", "TVirtualDrawTree=scrollbar", "TTBXDockablePanel=Panel",
    "TAdvPanelGroup=scrollbar", "TComboboxex=combobox", "TRxSpeedButton=speedbutton",
    "THTMLViewer=scrollbar", "TDBCtrlGrid=scrollbar", "TfrSpeedButton=speedbutton",
    "TfrTBButton=speedbutton", "TControlBar=Panel", "TTBDock=Panel", "TTBToolbar=Panel",
    "TImageEnMView=scrollbar", "TImageEnView=scrollbar", "TAdvMemo=scrollbar", "TDBAdvMemo=scrollbar",
    "TcxDBLookupComboBox=combobox", "TcxDBComboBox=combobox", "TcxDBDateEdit=combobox",
    "TcxDBImageComboBox=combobox", "TcxDBCalcEdit=combobox", "TcxDBBlobEdit=combobox",
    "TcxDBPopupEdit=combobox", "TcxDBFontNameComboBox=combobox", "TcxDBShellComboBox=combobox",
    "TRxLookupEdit=combobox", "TRxDBLookupCombo=combobox", "TKvGroup=panel", "TKvButton=button",
    "TKvBitbtn=bitbtn", "TKvMenuButton=menubtn", "TKvCheckGroup=CheckGroup", "TKvRadioGroup=Radiogroup",
    "TKvButtonEdit=Edit", "TKvDBRadioGroup=Radiogroup", "TKvDBRadioButton=Radiobutton",
    "TKvDateTimeEdit=combobox", "TKvColorEdit=combobox", "TKvDateTimePicker=combobox",
    "TKvDBDateTimeEdit=combobox", "TKvDbColorEdit=combobox", "TKvDBDateTimePicker=combobox",
    "TLMDButton=bitbtn", "TLMDGroupBox=Groupbox", "TDBCheckboxEh=Checkbox", "TDBCheckboxEh=Checkbox",
    "TLMDCHECKBOX=Checkbox", "TLMDDBCHECKBOX=Checkbox", "TLMDRadiobutton=Radiobutton",
    "TLMDCalculator=panel", "TLMDGROUPBOX=Panel", "TLMDSIMPLEPANEL=Panel", "TLMDDBCalendar=Panel",
    "TLMDButtonPanel=Panel", "TLMDLMDCalculator=Panel", "TLMDHeaderPanel=Panel", "TLMDTechnicalLine=Panel",
    "TLMDLMDClock=Panel", "TLMDTrackbar=panel", "TLMDListCombobox=combobox",
    "TLMDCheckListCombobox=combobox", "TLMDHeaderListCombobox=combobox", "TLMDImageCombobox=combobox",
    "TLMDColorCombobox=combobox", "TLMDFontCombobox=combobox", "TLMDFontSizeCombobox=combobox",
    "TLMDFontSizeCombobox=combobox", "TLMDPrinterCombobox=combobox", "TLMDDriveCombobox=combobox",
    "TLMDCalculatorComboBox=combobox", "TLMDTrackBarComboBox=combobox", "TLMDCalendarComboBox=combobox",
    "TLMDTreeComboBox=combobox", "TLMDRADIOGROUP=radiogroup", "TLMDCheckGroup=CheckGroup",
    "TLMDDBRADIOGROUP=radiogroup", "TLMDDBCheckGroup=CheckGroup", "TLMDCalculatorEdit=edit", "TLMDEDIT=Edit",
    "TLMDMASKEDIT=Edit", "TLMDBROWSEEDIT=Edit", "TLMDEXTSPINEDIT=Edit", "TLMDCALENDAREDIT=Edit",
    "TLMDFILEOPENEDIT=Edit", "TLMDFILESAVEEDIT=Edit", "TLMDCOLOREDIT=Edit", "TLMDDBEDIT=Edit",
    "TLMDDBMASKEDIT=Edit", "TLMDDBEXTSPINEDIT=Edit", "TLMDDBSPINEDIT=Edit", "TLMDDBEDITDBLookup=Edit",
    "TLMDEDITDBLookup=Edit", "TDBLookupCombobox=Combobox", "TWWDBCombobox=Combobox",
    "TWWDBLookupCombo=Combobox", "TWWDBCombobox=Combobox", "TWWKeyCombo=Combobox",
    "TWWTempKeyCombo=combobox", "TWWDBDateTimePicker=Combobox", "TWWRADIOGROUP=radiogroup", "TWWDBEDIT=Edit",
    "TcxButton=bitbtn", "TcxDBRadioGroup=radiogroup", "TcxRadioGroup=radiogroup", "TcxGroupbox=groupbox",
    "TOVCPICTUREFIELD=Edit", "TOVCDBPICTUREFIELD=Edit", "TOVCSLIDEREDIT=Edit", "TOVCDBSLIDEREDIT=Edit",
    "TOVCSIMPLEFIELD=Edit", "TOVCDBSIMPLEFIELD=Edit", "TO32DBFLEXEDIT=Edit", "TOVCNUMERICFIELD=Edit",
    "TOVCDBNUMERICFIELD=Edit"
  };
  return rows;
}

namespace {

constexpr TSkinControlTypes kDefaultControls =
    ((1u << (xcFastReport + 1)) - 1) & ~((1u << xcMenuItem) | (1u << xcFastReport));
constexpr TSkinOptions kDefaultOptions = (1u << xoPreview) | (1u << xoToolbarBK) | (1u << xoCaptionButtonHint);

}  // namespace

const TClassInfo& TSkinData::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TSkinData>("TSkinData", &TComponent::StaticClass())
          .Bool("Active", &TSkinData::Active, &TSkinData::SetActive, false)
          .Int("DisableTag", &TSkinData::GetDisableTag,
               &TSkinData::SetDisableTag, 99)
          .Set("SkinControls", SkinControlTypeType(), &TSkinData::GetSkinControls,
               &TSkinData::SetSkinControls, kDefaultControls)
          .Set("Options", SkinOptionType(), &TSkinData::GetOptions,
               &TSkinData::SetOptions, kDefaultOptions)
          .Obj("Skin3rd", &TSkinData::Skin3rd, &TSkinData::SetSkin3rd)
          .Str("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
          .Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
          .Enum("SkinFormtype", SkinFormTypeType(), &TSkinData::GetSkinFormtype,
                &TSkinData::SetSkinFormtype, sfMainform)
          .Str("Version", &TSkinData::Version, &TSkinData::SetVersion)
          .Bool("MenuUpdate", &TSkinData::GetMenuUpdate,
                &TSkinData::SetMenuUpdate, true)
          .Bool("MenuMerge", &TSkinData::GetMenuMerge,
                &TSkinData::SetMenuMerge, false)
          .Event("OnFormSkin", &TSkinData::OnFormSkin)
          .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
          .Event("OnSkinControl", &TSkinData::OnSkinControl)
          .Event("OnBeforeSkinForm", &TSkinData::OnBeforeSkinForm)
          .Event("OnAfterSkinForm", &TSkinData::OnAfterSkinForm);
  return info;
}

TSkinData::TSkinData(TComponent* owner) : TComponent(owner), skin3rd_(new TStringList) {
  SkinFormtype = sfMainform;
  NotLoaded = true;
  AppIcon.SetPixelFormat(pf24bit);
  FramePaintEnabled = true;
  skin3rd_->AddStrings(DefaultSkin3rdMap());
  MenuUpdate = true;
  MenuMerge = false;
  Options = kDefaultOptions;
  DisableTag = 99;
  SkinControls = kDefaultControls;
  LoadMenuImages();
  MaxWidth = GetSystemMetrics(SM_CXMAXIMIZED);
  MaxHeight = GetSystemMetrics(SM_CYMAXIMIZED);
  HintTicks = 0;
  HintWindow = new THintWindow(nullptr);
  HintShown = false;
}

TSkinData::~TSkinData() {
  if (!IsDestroying()) TSkinData::BeforeDestruction();
}

void TSkinData::BeforeDestruction() {
  if (!IsDestroying()) {
    if (TSkinManage* manager = SkinManager()) {
      manager->UnregisterSkinData(this);
      // Without a skin data component nothing can be skinned any more: the
      // manager goes with the last one, while the program's state it uses
      // on the way out still exists.
      if (manager->SkinDataList.empty()) FreeSkinManager();
    }
    FreeAndNil(MenuImages);
    FreeAndNil(HintWindow);
  }
  TComponent::BeforeDestruction();
}

void TSkinData::LoadMenuImages() {
  MenuImages = new TImageList(nullptr);
  MenuImages->SetWidth(16);
  MenuImages->SetHeight(16);
  HBITMAP h = static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), L"VELMORAMENU", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!h) return;
  BITMAP info = {};
  GetObjectW(h, sizeof info, &info);
  TBitmap strip(info.bmWidth, info.bmHeight, pf24bit);
  HDC source = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source, h);
  BitBlt(strip.Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(h);
  MenuImages->AddMasked(strip, clWhite);
}

void TSkinData::SetSkin3rd(TStrings* list) {
  if (!list || list == skin3rd_.get()) return;
  skin3rd_->Clear();
  skin3rd_->AddStrings(list->ToVector());
}

void TSkinData::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineBinaryProperty("SkinStream", [this](const std::vector<uint8_t>& data, std::string&) {
    // A 32-bit size, then that many bytes of packed archive.
    if (data.size() < 4) return true;
    const int32_t n = static_cast<int32_t>(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                                           uint32_t(data[3]) << 24);
    if (n <= 0) return true;
    const size_t take = std::min(static_cast<size_t>(n), data.size() - 4);
    SkinArchive.Clear();
    SkinArchive.Write(data.data() + 4, take);
    SkinArchive.Seek(0);
    LoadSkin();
    return true;
  });
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (IsLoading()) return;
  TSkinManage* manager = SkinManager();
  // Without a manager (Loaded never ran) there is nothing to switch yet:
  // the value is kept and Loaded acts on it.
  if (!manager) return;
  switch (SkinFormtype) {
    case sfMainform:
      if (value) {
        if (NotLoaded) return;
        manager->PendingSkinData = this;
        manager->PostSkinRequest(1, 250);
        manager->State = 1;
      } else {
        manager->PendingSkinData = this;
        manager->PostSkinRequest(2, 250);
      }
      break;
    case sfOnlyThisForm:
      manager->PendingSkinData = this;
      if (value && NotLoaded) return;
      manager->PostSkinRequest(value ? 1 : 2, 250);
      break;
    default: break;
  }
}

void TSkinData::SetSkinFile(const std::string& file) {
  NotLoaded = true;
  skinFile_ = file;
  if (file.empty()) return;
  std::string bytes;
  if (!LoadFileBytes(file, bytes)) return;
  SkinArchive.Clear();
  SkinArchive.Write(bytes.data(), bytes.size());
  SkinArchive.Seek(0);
  LoadSkin();
  ApplyNewSkinFile();
}

void TSkinData::ApplyNewSkinFile() {
  if (IsLoading()) return;
  TSkinManage* manager = SkinManager();
  if (!manager) {
    Loaded();
    manager = SkinManager();
    if (!manager) return;
  }
  manager->PendingSkinData = this;
  manager->ResetCaptionButtons();
  if (manager->State == 1) manager->PostSkinRequest(3, 250);
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (!skinplatform::HasGetScrollBarInfo()) RemoveControl(xcScrollbar);
  TSkinManage& manager = EnsureSkinManager();
  manager.RegisterSkinData(this);
  ReadCaptionFont();
  if (SkinFormtype == sfMainform) {
    manager.InstallSkinHook();
    if (active_) {
      if (NotLoaded)
        active_ = false;  // no skin could be read: the program runs unskinned
      else
        manager.PostSkinRequest(1, 250);
    }
    if (HasControl(xcMainMenu))
      RemoveControl(xcMenuItem);
    else
      RemoveControl(xcSystemMenu);
    ReadAppIcon();
  } else {
    manager.SkinningOn = true;
    if (manager.State == 0) manager.State = 1;
    // The owner form's window is made now (windows are made on demand) and
    // skinned at once: no hook watches for it.
    if (auto* form = dynamic_cast<TWinControl*>(Owner()))
      if (active_ && !NotLoaded && form->Handle()) manager.SkinWindow(form->Handle());
  }
}

void TSkinData::ReadCaptionFont() {
  CaptionFont.reset(new TFont);
  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = 340;  // the size every system version accepts
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0))
    CaptionFont->SetHandle(CreateFontIndirectA(&metrics.lfCaptionFont));
}

void TSkinData::ReadAppIcon() {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  // The application's icon: its main window's, else the program's main
  // icon resource (the main window does not exist yet when Loaded runs).
  HWND app = Application().Handle();
  HICON icon = app ? reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_SMALL, 0)) : nullptr;
  if (!icon && app) icon = reinterpret_cast<HICON>(SendMessageW(app, WM_GETICON, ICON_BIG, 0));
  HICON loaded = nullptr;
  if (!icon) icon = loaded = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, w, h, 0));
  if (!icon) return;
  AppIcon.SetPixelFormat(pf24bit);
  AppIcon.SetSize(w, h);
  TCanvas* c = AppIcon.Canvas();
  c->Brush()->SetColor(static_cast<TColor>(kSkinKeyColour));
  RECT all = {0, 0, w, h};
  c->FillRect(all);
  if (HICON copy = static_cast<HICON>(CopyImage(icon, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE))) {
    DrawIconEx(c->Handle(), 0, 0, copy, w, h, 0, nullptr, DI_NORMAL);
    DestroyIcon(copy);
  }
  AppIcon.SetTransparentColor(static_cast<TColor>(kSkinKeyColour));
  AppIcon.SetTransparent(true);
  if (loaded) DestroyIcon(loaded);
}

void TSkinData::AskFormSkin(HWND window, const std::string& className, bool& doSkin) {
  QueryWindow = window;
  if (OnFormSkin) {
    OnFormSkin(this, className, doSkin);
    return;
  }
  if (className == "SysMonthCal32") doSkin = false;
  else if (HasControl(xcFastReport) && className.compare(0, 3, "Tfr") == 0) doSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

void TSkinData::ShowCaptionHint(const RECT& rect, const std::string& text) {
  if (!HasOption(xoCaptionButtonHint) || HintShown || !HintWindow) return;
  RECT r = HintWindow->CalcHintRect(500, text);
  OffsetRect(&r, rect.left, rect.top);
  HintWindow->ActivateHint(r, text);
  HintShown = true;
}

void TSkinData::CloseCaptionHint() {
  if (!HintShown) return;
  if (HintWindow && HintWindow->HandleIfAllocated()) ShowWindow(HintWindow->HandleIfAllocated(), SW_HIDE);
  HintShown = false;
}

// ---- shared routines ----

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &w[0], n);
  return w;
}

std::wstring WideCopy(const std::wstring& text, int count) {
  if (count < 0 || static_cast<size_t>(count) >= text.size()) return text;
  return text.substr(0, static_cast<size_t>(count));
}

int DrawTextWide(HDC dc, const std::wstring& text, RECT& rect, UINT format) {
  return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

TWinControl* FindControlOfWindow(HWND window) { return window ? ControlOfWindow(window) : nullptr; }

bool GetScrollBarInfoOpt(HWND window, LONG objectId, SCROLLBARINFO& info) {
  return skinplatform::CallGetScrollBarInfo(window, objectId, &info) != FALSE;
}

void TrackMouseLeave(HWND window) {
  TRACKMOUSEEVENT e = {};
  e.cbSize = 16;
  e.dwFlags = TME_LEAVE;
  e.hwndTrack = window;
  skinplatform::CallTrackMouseEvent(&e);
}

void RegisterSkinDataClasses() {
  RegisterSkinClasses();
  RegisterComponentClass(TSkinData::StaticClass());
}
