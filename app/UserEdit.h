// The dialog for one key profile: a name and a key, added (mode 1) or
// changed (mode 2).
#pragma once
#include <string>

#include "Form.h"

namespace fw {
class TBitBtn;
class TEdit;
class TImage;
class TMaskEdit;
}  // namespace fw

class TFmUserEdit : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }

  enum Mode { kAdd = 1, kChange = 2 };
  // Makes the dialog from its form data; nullptr when that cannot be read.
  static TFmUserEdit* Create(fw::TComponent* owner, int mode);

  fw::TImage* imgBack = nullptr;
  fw::TEdit* edtUserName = nullptr;
  fw::TMaskEdit* medtPassWord = nullptr;
  fw::TBitBtn* btnSave = nullptr;
  fw::TBitBtn* btnExit = nullptr;

  void FormShow(fw::TObject* sender);
  void btnSaveClick(fw::TObject* sender);
  void btnExitClick(fw::TObject* sender);
  void medtPassWordKeyPress(fw::TObject* sender, char& key);

  int mode = kAdd;
  // The result of OK: the trimmed name and the compact key.
  std::string userName;
  std::string passWord;

 private:
  TFmUserEdit(fw::TComponent* owner, int mode) : fw::TForm(owner), mode(mode) {}
};
