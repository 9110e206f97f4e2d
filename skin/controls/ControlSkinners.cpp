#include "ControlSkinners.h"

#include "ComboSkinners.h"
#include "HeaderSkinners.h"
#include "ScrollBarSkinners.h"
#include "ScrollBoxSkinner.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterScrollBarSkinners();
  RegisterScrollBoxSkinner();
  RegisterHeaderSkinners();
  RegisterComboSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
