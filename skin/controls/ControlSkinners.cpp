#include "ControlSkinners.h"

#include "BoxSkinners.h"
#include "ButtonSkinners.h"
#include "CheckSkinners.h"
#include "ContainerSkinners.h"
#include "GlyphImageSkinner.h"
#include "MediaPlayerSkinner.h"
#include "PageSkinners.h"
#include "RangeSkinners.h"
#include "TabSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterBoxSkinners();
  RegisterRangeSkinners();
  RegisterMediaPlayerSkinners();
  RegisterTabSkinners();
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
