#include "ControlSkinners.h"

#include "ScrollBarSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterScrollBarSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
