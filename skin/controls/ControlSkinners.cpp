#include "ControlSkinners.h"

#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
