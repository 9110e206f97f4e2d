#include "ControlSkinners.h"

#include "BoxSkinners.h"
#include "RangeSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterBoxSkinners();
  RegisterRangeSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
