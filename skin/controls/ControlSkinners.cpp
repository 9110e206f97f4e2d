#include "ControlSkinners.h"

#include "MediaPlayerSkinner.h"
#include "TabSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterMediaPlayerSkinners();
  RegisterTabSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
