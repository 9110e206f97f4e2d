// The track bar skinner: the control keeps its own painting and input and
// asks, through its custom-draw notifications, for its channel and thumb,
// which the skinner draws from the skin. The notifications reach the
// control reflected by its framework parent (CN_NOTIFY) or passed on by a
// parent that reflects WM_NOTIFY itself.
#include <memory>

#include "Messages.h"
#include "RangeSkinners.h"
#include "SkinDataContent.h"
#include "SkinDraw.h"
#include "WinSkinData.h"

using namespace fw;

namespace {

constexpr int kThumbFrames = 5;
constexpr int kThumbFrame = 2;

}  // namespace

const TClassInfo& TSkinTrackBar::StaticClass() {
  static const TClassInfo info("TSkinTrackBar", &TSkinControl::StaticClass());
  return info;
}

bool TSkinTrackBar::BeforeProc(TMessage& m) {
  if (m.Msg != WM_NOTIFY && m.Msg != CN_NOTIFY) return TSkinControl::BeforeProc(m);
  // The same number with the engine's marker is no notification.
  if (!IsNotifyHeader(m.LParam)) return true;
  const auto* header = reinterpret_cast<const NMHDR*>(m.LParam);
  if (header->code != static_cast<UINT>(NM_CUSTOMDRAW) || header->hwndFrom != Handle) return true;
  m.Result = CustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(m.LParam));
  return false;
}

LRESULT TSkinTrackBar::CustomDraw(NMCUSTOMDRAW& draw) {
  if (draw.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  switch (draw.dwItemSpec) {
    case TBCD_THUMB: DrawThumb(draw.hdc); return CDRF_SKIPDEFAULT;
    case TBCD_CHANNEL: return DrawChannel(draw.hdc) ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    default: return CDRF_DODEFAULT;  // the tics, and anything else
  }
}

void TSkinTrackBar::DrawThumb(HDC dc) {
  if (!Handle || !IsWindow(Handle) || !SkinData) return;
  RECT r = {};
  SendMessageW(Handle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  const bool vertical = (GetLong(Handle, GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* thumb = vertical && SkinData->TrackThumbVert ? SkinData->TrackThumbVert.get()
                                                                : SkinData->TrackThumbHorz.get();
  if (thumb && !thumb->Bitmap.Empty()) {
    DrawStrip(this, dc, r, kThumbFrames, kThumbFrame, thumb->Bitmap);
    return;
  }
  // No thumb image: outlined in the shadow colour on the DC's brush.
  HPEN pen = CreatePen(PS_SOLID, 1, ColorToRGB(SkinData->Colors[sc::ButtonShadow]));
  HGDIOBJ old = SelectObject(dc, pen);
  Rectangle(dc, r.left, r.top, r.right, r.bottom);
  SelectObject(dc, old);
  DeleteObject(pen);
}

bool TSkinTrackBar::DrawChannel(HDC dc) {
  if (!Handle || !IsWindow(Handle) || !SkinData) return false;
  const bool vertical = (GetLong(Handle, GWL_STYLE) & TBS_VERT) != 0;
  TDataSkinObject* track = vertical ? SkinData->TrackVert.get() : SkinData->Track.get();
  if (!track || track->Bitmap.Empty()) return false;
  RECT reported = {};
  SendMessageW(Handle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&reported));
  const RECT channel = TrackChannelRect(reported, vertical);
  TTrackPiece pieces[3];
  const int n = TrackChannelPieces(channel, track->Bitmap.Width(), track->Bitmap.Height(),
                                   vertical ? track->TopHeight : track->LeftWidth,
                                   vertical ? track->BottomHeight : track->RightWidth, vertical, pieces);
  if (n == 0) return true;  // nothing of the channel to show
  // The pieces cover the image's band of the channel: composed there.
  RECT band = pieces[0].target;
  for (int i = 1; i < n; i++) UnionRect(&band, &band, &pieces[i].target);
  TBitmap work;
  SetSkinBitmapSize(work, band.right - band.left, band.bottom - band.top);
  HDC mem = work.Canvas()->Handle();
  HDC source = track->Bitmap.Canvas()->Handle();
  SetStretchBltMode(mem, COLORONCOLOR);
  for (int i = 0; i < n; i++) {
    const RECT& t = pieces[i].target;
    const RECT& s = pieces[i].source;
    StretchBlt(mem, t.left - band.left, t.top - band.top, t.right - t.left, t.bottom - t.top, source, s.left, s.top,
               s.right - s.left, s.bottom - s.top, SRCCOPY);
  }
  BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, mem, 0, 0, SRCCOPY);
  return true;
}

void TSkinTrackBar::ApplySkinChange() {
  // The new channel and thumb come with the next custom draw. (Moving the
  // focus to the bar and back would raise the focused control's exit and
  // enter handlers and activate a window in the background.)
  Redraw();
}
