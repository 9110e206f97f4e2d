#include "ControlSkinners.h"

#include "ButtonSkinners.h"
#include "CheckSkinners.h"
#include "ContainerSkinners.h"
#include "GlyphImageSkinner.h"
#include "PageSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterButtonSkinners();
  RegisterCheckSkinners();
  RegisterContainerSkinners();
  RegisterPageSkinners();
  RegisterGlyphImageSkinner();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
