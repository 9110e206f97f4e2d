// The box skinner: a panel (or a form, tool bar, navigator) keeps its own
// painting and procedure and only takes the skin's face colour while it is
// skinned; a skin change gives it the new face colour.
#include "BoxSkinners.h"
#include "SkinDataContent.h"
#include "WinSkinData.h"
#include "WinSkinForm.h"

using namespace fw;

const TClassInfo& TSkinBox::StaticClass() {
  static const TClassInfo info("TSkinBox", &TSkinControl::StaticClass());
  return info;
}

void TSkinBox::InitSkin(TWinSkinForm* form, TSkinData* skinData, TCanvas* formCanvas, bool useSkinColour) {
  // Once only: a second set-up would take the skin's colour for the
  // control's own.
  if (Skinned) return;
  UseSkinColour = useSkinColour;
  SkinData = skinData;
  FormCanvas = formCanvas;
  Control = dynamic_cast<TControl*>(Owner());
  if (auto* w = dynamic_cast<TWinControl*>(Control)) Handle = w->Handle();
  Form = form;
  if (Form) Form->RegisterSkinner(this);
  if (UseSkinColour && Control && SkinData) {
    SwitchParentBackground(true);
    SavedColour = Control->Color();
    Control->SetColor(SkinData->Colors[sc::ButtonFace]);
  }
  Skinned = true;
}

void TSkinBox::Unskin() {
  if (!Active) return;
  Active = false;
  if (UseSkinColour && Control) {
    SwitchParentBackground(false);
    Control->SetColor(SavedColour);
  }
  State = kUnskinned;
}

void RegisterBoxSkinners() {
  RegisterSkinnerClass("TSkinStatusBar", [](TComponent* owner) { return new TSkinStatusBar(owner); });
  RegisterSkinnerClass("TSkinGroupBox", [](TComponent* owner) { return new TSkinGroupBox(owner); });
  RegisterSkinnerClass("TSkinBox", [](TComponent* owner) { return new TSkinBox(owner); });
}
