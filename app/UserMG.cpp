#include "UserMG.h"

#include "Buttons.h"
#include "Canvas.h"
#include "Dialogs.h"
#include "Edit.h"
#include "Image.h"
#include "Language.h"
#include "Main.h"
#include "MaskEdit.h"
#include "UserEdit.h"
#include "UserKeys.h"

using namespace fw;

namespace {
const char* const kHint = "\xCC\xE1\xCA\xBE";   // 提示
const char* const kAsk = "\xD1\xAF\xCE\xCA";    // 询问
const char* const kChooseToEdit =
    "\xC7\xEB\xD1\xA1\xD4\xF1\xB4\xFD\xD0\xDE\xB8\xC4\xB5\xC4\xD3\xC3\xBB\xA7";  // 请选择待修改的用户
const char* const kChooseToDelete =
    "\xC7\xEB\xD1\xA1\xD4\xF1\xB4\xFD\xC9\xBE\xB3\xFD\xB5\xC4\xD3\xC3\xBB\xA7";  // 请选择待删除的用户
const char* const kDeleteAsk = "\xCA\xC7\xB7\xF1\xC9\xBE\xB3\xFD\xD3\xC3\xBB\xA7\xA3\xBA[";  // 是否删除用户：[
const char* const kCannotWrite = "\xCE\xDE\xB7\xA8\xD0\xB4\xC8\xEB\xCE\xC4\xBC\xFE ";         // 无法写入文件
const char* const kNotSaved =
    "\xA3\xAC\xD3\xC3\xBB\xA7\xD0\xC5\xCF\xA2\xCE\xB4\xB1\xA3\xB4\xE6\xA1\xA3";  // ，用户信息未保存。
// Colours of the selected row.
const TColor kSelectedBack = RGB(51, 153, 255);
}  // namespace

const TClassInfo& TFmUserMG::StaticClass() {
  static const TClassInfo info =
      TClassInfo::Make<TFmUserMG>("TFmUserMG", &TForm::StaticClass())
          .Field("imgBack", &TFmUserMG::imgBack)
          .Field("lvUserInfo", &TFmUserMG::lvUserInfo)
          .Field("btnAdd", &TFmUserMG::btnAdd)
          .Field("btnEdit", &TFmUserMG::btnEdit)
          .Field("btnDel", &TFmUserMG::btnDel)
          .Field("btnClose", &TFmUserMG::btnClose)
          .Method("FormCreate", &TFmUserMG::FormCreate)
          .Method("FormDestroy", &TFmUserMG::FormDestroy)
          .Method("FormClose", &TFmUserMG::FormClose)
          .Method("btnCloseClick", &TFmUserMG::btnCloseClick)
          .Method("lvUserInfoResize", &TFmUserMG::lvUserInfoResize)
          .Method("btnAddClick", &TFmUserMG::btnAddClick)
          .Method("btnEditClick", &TFmUserMG::btnEditClick)
          .Method("lvUserInfoCustomDrawItem", &TFmUserMG::lvUserInfoCustomDrawItem)
          .Method("btnDelClick", &TFmUserMG::btnDelClick);
  return info;
}

void TFmUserMG::AddRow(const std::string& name, const std::string& key, int32_t origin) {
  TListItem* item = lvUserInfo->Items()->Add();
  item->SetCaption(name);
  item->SubItems()->Add(key);
  item->Data = reinterpret_cast<void*>(static_cast<intptr_t>(origin) + 1);
}

void TFmUserMG::FormCreate(TObject*) {
  unread_ = !LoadUserKeys(names_, keys_, &stored_);
  if (unread_) {
    // Told before the list shows, over the main window; the list then opens
    // empty and can be closed as ever.
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    ShowMessageBox(owner ? owner->Handle() : Handle(), FormatMsg(kMsgProfilesUnreadableNotSaved, UserKeysFile()),
                   kHint, MB_OK | MB_ICONWARNING);
  }
  TListItems* rows = lvUserInfo->Items();
  rows->BeginUpdate();
  for (size_t i = 0; i < names_.size(); ++i) AddRow(names_[i], keys_[i], static_cast<int32_t>(i));
  rows->EndUpdate();
  // The key column fills the rest of the view from the start.
  lvUserInfoResize(this);
}

void TFmUserMG::FormDestroy(TObject*) {
  names_.clear();
  keys_.clear();
  stored_.clear();
}

void TFmUserMG::FormClose(TObject*, TCloseAction& action) {
  names_.clear();
  keys_.clear();
  TListItems* rows = lvUserInfo->Items();
  TStoredProfiles stored;
  for (int i = 0; i < rows->Count(); ++i) {
    names_.push_back(rows->Items(i)->Caption());
    keys_.push_back(rows->Items(i)->SubItems()->Strings(0));
    const intptr_t origin = reinterpret_cast<intptr_t>(rows->Items(i)->Data) - 1;
    const bool loaded = origin >= 0 && static_cast<size_t>(origin) < stored_.size();
    stored.push_back(loaded ? stored_[static_cast<size_t>(origin)] : std::nullopt);
  }
  // The window closes in any case; a file that cannot be written is
  // reported, and the file keeps what it held. A file that could not be
  // read when the list opened is left as it is (told then).
  if (!unread_ && !SaveUserKeys(names_, keys_, stored))
    ShowMessageBox(Handle(), kCannotWrite + UserKeysFile() + kNotSaved, kHint, MB_OK | MB_ICONWARNING);
  if (auto* main = dynamic_cast<TFmMain*>(Owner())) main->userMG = nullptr;
  action = caFree;
}

void TFmUserMG::btnCloseClick(TObject*) { Close(); }

void TFmUserMG::lvUserInfoResize(TObject*) {
  TListColumns* columns = lvUserInfo->Columns();
  if (columns->Count() < 2) return;
  // The client width is the window's (inside its border), so the view's
  // window must exist when it is read: the form's create step runs first.
  lvUserInfo->HandleNeeded();
  columns->Items(1)->Width = lvUserInfo->ClientWidth() - columns->Items(0)->Width;
  columns->Update();
}

void TFmUserMG::btnAddClick(TObject*) {
  TFmUserEdit* dialog = TFmUserEdit::Create(this, TFmUserEdit::kAdd);
  if (!dialog) return;
  if (dialog->ShowModal() == mrOk) AddRow(dialog->userName, dialog->passWord, -1);
  dialog->Free();
}

void TFmUserMG::btnEditClick(TObject*) {
  TListItem* row = lvUserInfo->Selected();
  if (!row) {
    ShowMessageBox(Handle(), kChooseToEdit, kHint, MB_OK | MB_ICONWARNING);
    return;
  }
  TFmUserEdit* dialog = TFmUserEdit::Create(this, TFmUserEdit::kChange);
  if (!dialog) return;
  dialog->edtUserName->SetText(row->Caption());
  dialog->medtPassWord->SetText(HexSpaced(row->SubItems()->Strings(0)));
  if (dialog->ShowModal() == mrOk) {
    row->SetCaption(dialog->userName);
    row->SubItems()->SetStrings(0, HexCompact(dialog->passWord));
  }
  dialog->Free();
}

void TFmUserMG::lvUserInfoCustomDrawItem(TListView* sender, TListItem* item, TCustomDrawState,
                                         bool& defaultDraw) {
  TCanvas* canvas = sender->Canvas();
  if (item->Index() == sender->ItemIndex()) {
    canvas->Brush()->SetColor(kSelectedBack);
    canvas->Font()->SetColor(clWindow);
  } else {
    canvas->Brush()->SetColor(clWindow);
    canvas->Font()->SetColor(clBlack);
  }
  defaultDraw = true;
}

void TFmUserMG::btnDelClick(TObject*) {
  TListItem* row = lvUserInfo->Selected();
  if (!row) {
    ShowMessageBox(Handle(), kChooseToDelete, kHint, MB_OK | MB_ICONWARNING);
    return;
  }
  const std::string text = kDeleteAsk + row->Caption() + "]?";
  if (ShowMessageBox(Handle(), text, kAsk, MB_YESNO | MB_ICONQUESTION) == IDYES)
    lvUserInfo->Items()->Delete(row->Index());
}
