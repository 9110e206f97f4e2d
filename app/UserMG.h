// The key profile list: lists, adds, changes and deletes the profiles of
// "Data\SysInfo.ini", which it writes when it closes.
#pragma once
#include "Common.h"
#include "Form.h"
#include "ListView.h"
#include "UserKeys.h"

namespace fw {
class TBitBtn;
class TImage;
}  // namespace fw

class TFmUserMG : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass();
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmUserMG(fw::TComponent* owner) : fw::TForm(owner) {}

  fw::TImage* imgBack = nullptr;
  fw::TListView* lvUserInfo = nullptr;
  fw::TBitBtn* btnAdd = nullptr;
  fw::TBitBtn* btnEdit = nullptr;
  fw::TBitBtn* btnDel = nullptr;
  fw::TBitBtn* btnClose = nullptr;

  void FormCreate(fw::TObject* sender);
  void FormDestroy(fw::TObject* sender);
  void FormClose(fw::TObject* sender, fw::TCloseAction& action);
  void btnCloseClick(fw::TObject* sender);
  void lvUserInfoResize(fw::TObject* sender);
  void btnAddClick(fw::TObject* sender);
  void btnEditClick(fw::TObject* sender);
  void lvUserInfoCustomDrawItem(fw::TListView* sender, fw::TListItem* item,
                                fw::TCustomDrawState state, bool& defaultDraw);
  void btnDelClick(fw::TObject* sender);

 private:
  // A row of the view; `origin` is the profile's place among those loaded
  // (-1: added), kept in the row's data (origin + 1) for the save.
  void AddRow(const std::string& name, const std::string& key, int32_t origin);
  TStringVector names_;
  TStringVector keys_;
  // The loaded profiles' bytes as the file stored them, by origin: what a
  // row that came from the file goes back with, whatever happened to the
  // file while the list was open.
  TStoredProfiles stored_;
  // The file was there but could not be read: closing must not replace it.
  bool unread_ = false;
};
