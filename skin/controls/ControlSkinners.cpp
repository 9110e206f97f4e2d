#include "ControlSkinners.h"

#include "BoxSkinners.h"
#include "MediaPlayerSkinner.h"
#include "RangeSkinners.h"
#include "TabSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterBoxSkinners();
  RegisterRangeSkinners();
  RegisterMediaPlayerSkinners();
  RegisterTabSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
