#include "UserEdit.h"

#include "Buttons.h"
#include "Common.h"
#include "Dialogs.h"
#include "Edit.h"
#include "Image.h"
#include "Language.h"
#include "MaskEdit.h"
#include "TextUtils.h"

using namespace fw;

namespace {
const char* const kCaptionAdd = "\xD0\xC2\xD4\xF6\xD3\xC3\xBB\xA7\xD0\xC5\xCF\xA2";     // 新增用户信息
const char* const kCaptionChange = "\xD0\xDE\xB8\xC4\xD3\xC3\xBB\xA7\xD0\xC5\xCF\xA2";  // 修改用户信息
const char* const kHint = "\xCC\xE1\xCA\xBE";                                            // 提示
const char* const kNameEmpty = "\xD3\xC3\xBB\xA7\xC3\xFB\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";  // 用户名不能为空
}  // namespace

const TClassInfo& TFmUserEdit::StaticClass() {
  static const TClassInfo info = TClassInfo::Make<TFmUserEdit>("TFmUserEdit", &TForm::StaticClass())
                                     .Field("imgBack", &TFmUserEdit::imgBack)
                                     .Field("edtUserName", &TFmUserEdit::edtUserName)
                                     .Field("medtPassWord", &TFmUserEdit::medtPassWord)
                                     .Field("btnSave", &TFmUserEdit::btnSave)
                                     .Field("btnExit", &TFmUserEdit::btnExit)
                                     .Method("FormShow", &TFmUserEdit::FormShow)
                                     .Method("btnSaveClick", &TFmUserEdit::btnSaveClick)
                                     .Method("btnExitClick", &TFmUserEdit::btnExitClick)
                                     .Method("medtPassWordKeyPress", &TFmUserEdit::medtPassWordKeyPress);
  return info;
}

TFmUserEdit* TFmUserEdit::Create(TComponent* owner, int mode) {
  auto* form = new TFmUserEdit(owner, mode);
  std::string error;
  if (!form->LoadFromResource(error)) {
    ShowFormDataError(form->ClassName(), error);
    form->Free();
    return nullptr;
  }
  form->SetCaption(mode == kChange ? kCaptionChange : kCaptionAdd);
  form->DoCreate();
  return form;
}

void TFmUserEdit::FormShow(TObject*) { edtUserName->SetFocus(); }

void TFmUserEdit::btnSaveClick(TObject*) {
  const std::string name = Trim(edtUserName->Text());
  if (name.empty()) {
    edtUserName->SetFocus();
    ShowMessageBox(Handle(), kNameEmpty, kHint, MB_OK | MB_ICONWARNING);
    return;
  }
  // A profile keeps only a key the reader can take.
  const std::string key = HexCompact(medtPassWord->Text());
  if (!IsCardKey(key)) {
    medtPassWord->SetFocus();
    ShowMessageBox(Handle(), Msg(kMsgBadKey), kHint, MB_OK | MB_ICONWARNING);
    return;
  }
  userName = name;
  passWord = key;
  SetModalResult(mrOk);
}

void TFmUserEdit::btnExitClick(TObject*) { SetModalResult(mrAbort); }

void TFmUserEdit::medtPassWordKeyPress(TObject*, char& key) {
  if (!IsKeyChar(key)) key = 0;
}
