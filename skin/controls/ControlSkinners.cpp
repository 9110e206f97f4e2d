#include "ControlSkinners.h"

#include "BoxSkinners.h"
#include "ButtonSkinners.h"
#include "CheckSkinners.h"
#include "ComboSkinners.h"
#include "ContainerSkinners.h"
#include "GlyphImageSkinner.h"
#include "HeaderSkinners.h"
#include "MediaPlayerSkinner.h"
#include "PageSkinners.h"
#include "RangeSkinners.h"
#include "ScrollBarSkinners.h"
#include "ScrollBoxSkinner.h"
#include "TabSkinners.h"
#include "WinSkinData.h"

void RegisterControlSkinners() {
  // Each kind's file registers its own classes.
  RegisterScrollBarSkinners();
  RegisterScrollBoxSkinner();
  RegisterHeaderSkinners();
  RegisterComboSkinners();
  RegisterBoxSkinners();
  RegisterButtonSkinners();
  RegisterCheckSkinners();
  RegisterContainerSkinners();
  RegisterGlyphImageSkinner();
  RegisterPageSkinners();
  RegisterRangeSkinners();
  RegisterMediaPlayerSkinners();
  RegisterTabSkinners();
}

void RegisterSkinEngine() {
  RegisterSkinDataClasses();
  RegisterControlSkinners();
}
