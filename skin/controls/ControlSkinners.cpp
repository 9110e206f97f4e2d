#include "ControlSkinners.h"

#include "BoxSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterBoxSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
