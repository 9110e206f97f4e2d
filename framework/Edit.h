// Single-line edits over the system EDIT class.
#pragma once

#include "Control.h"

namespace fw {

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TEditBorderStyle { ebsNone, ebsSingle };  // published as bsNone / bsSingle
const TEnumType& EditCharCaseType();
const TEnumType& EditBorderStyleType();

class TCustomEdit : public TWinControl {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TCustomEdit(TComponent* owner);

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  int32_t MaxLength() const { return maxLength_; }
  void SetMaxLength(int32_t value);
  TEditCharCase CharCase() const { return charCase_; }
  void SetCharCase(TEditCharCase value);
  int32_t PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(int32_t ch);
  TEditBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TEditBorderStyle style);
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool value) { autoSelect_ = value; }

  // Selection in characters of the window's text.
  int SelStart() const;
  int SelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll();
  void Clear() { SetText(std::string()); }
  bool Modified() const;

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& params) override;
  void WndProc(TMessage& message) override;
  void WindowCreated() override;
  UINT DialogCode() const override { return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL; }
  virtual void Change();

 private:
  bool readOnly_ = false;
  int32_t maxLength_ = 0;
  TEditCharCase charCase_ = ecNormal;
  int32_t passwordChar_ = 0;
  TEditBorderStyle borderStyle_ = ebsSingle;
  bool autoSelect_ = true;
};

class TEdit : public TCustomEdit {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

}  // namespace fw
