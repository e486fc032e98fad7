#include "app/controls/UIEqualizer.h"

#include <algorithm>
#include <cwchar>

#include <gdiplus.h>

#include "app/controls/ChartGrid.h"
#include "app/controls/ChartTrace.h"
#include "app/controls/CurveColors.h"
#include "uilib/core/AttrParse.h"
#include "uilib/core/DpiScaler.h"
#include "uilib/core/DragRect.h"
#include "uilib/core/RenderKit.h"
#include "uilib/core/ResourceStore.h"
#include "uilib/core/UIManager.h"

using namespace SkinUI;

namespace {

const DWORD kGridColor = 0xFF444444;
const DWORD kMarkColor = 0xFFFF0000;
const DWORD kLabelColor = 0xFFFFFFFF;
const DWORD kBypassTextColor = 0x77777777;
const DWORD kOtherCurveColor = 0xFF646464;
const DWORD kCurrentCurveColor = 0xFF00C000;
const int kGainGrid[] = {-15, -10, -5, 5, 10};

const wchar_t* NotificationType(ChartNotify notify)
{
    switch (notify) {
    case ChartNotify::Eq: return L"equalizer_eq";
    case ChartNotify::EqRelease: return L"equalizer_eq_release";
    case ChartNotify::Hp: return L"equalizer_hp";
    case ChartNotify::HpRelease: return L"equalizer_hp_release";
    case ChartNotify::Lp: return L"equalizer_lp";
    case ChartNotify::LpRelease: return L"equalizer_lp_release";
    default: return nullptr;
    }
}

const wchar_t* CursorId(ChartCursor cursor)
{
    switch (cursor) {
    case ChartCursor::Arrow: return IDC_ARROW;
    case ChartCursor::Hand: return IDC_HAND;
    case ChartCursor::SizeWE: return IDC_SIZEWE;
    case ChartCursor::SizeNS: return IDC_SIZENS;
    case ChartCursor::SizeAll: return IDC_SIZEALL;
    default: return nullptr;
    }
}

const wchar_t* CaptureName(int capture)
{
    switch (capture) {
    case INDEX_CAPTURED: return L"INDEX_CAPTURED";
    case FACTOR_CAPTURED: return L"FACTOR_CAPTURED";
    case HP_CAPTURED: return L"HP_CAPTURED";
    case LP_CAPTURED: return L"LP_CAPTURED";
    default: return nullptr;
    }
}

} // namespace

UIEqualizer::UIEqualizer()
    : ChartControl(DT_CENTER | DT_VCENTER | DT_SINGLELINE),
      m_model(new EqChartModel()),
      m_bypassFont(-1),
      m_curveColors(),
      m_curveColorCount(0)
{
}

UIEqualizer::~UIEqualizer() = default;

const wchar_t* UIEqualizer::GetTypeName() const
{
    return L"UIEqualizer";
}

int UIEqualizer::ScalePercent() const
{
    return m_manager != nullptr ? m_manager->DpiScaler()->GetScalePercent() : 100;
}

void UIEqualizer::SetBands(const EqBand* bands, int count, int selected)
{
    if (m_model->SetBands(bands, count, selected, GetPosition(), ScalePercent())) {
        CUIString index;
        index.Printf(L"%d", selected);
        SetUserDataText(index);
    }
}

void UIEqualizer::setCurEqHpLp(int hpFreq, int lpFreq)
{
    m_model->SetCrossover(hpFreq, lpFreq);
    if (m_model->HpFreq() != -1) ChartTrace(L"setCurEqHpLp mHpFreq(%d)\n", m_model->HpFreq());
}

void UIEqualizer::SetCurves(const double* freqs, const double* gains, int count, int current, const int* visible,
                            int)
{
    if (m_model->SetCurves(freqs, gains, count, current, visible)) RequestRepaint();
}

void UIEqualizer::SetPeqMode(bool parametric)
{
    m_model->SetParametric(parametric);
}

EqBand UIEqualizer::GetBand(int index) const
{
    if (index < 0 || index >= m_model->BandCount()) return EqBand();
    return m_model->Band(index);
}

void UIEqualizer::ApplyInput(const ChartInput& input)
{
    const wchar_t* cursor = CursorId(input.cursor);
    if (cursor != nullptr) SetCursor(LoadCursorW(nullptr, cursor));
    if (input.selectionToUserData) {
        CUIString index;
        index.Printf(L"%d", m_model->Selected());
        SetUserDataText(index);
    }
    const wchar_t* type = NotificationType(input.notify);
    if (type != nullptr && m_manager != nullptr) m_manager->SendNotification(this, type, 0, 0, false);
    if (input.repaint) RequestRepaint();
}

void UIEqualizer::EndPress()
{
    if (m_model->Capture() != CAPTURE_NONE) ApplyInput(m_model->Release(m_dragPoint));
}

void UIEqualizer::HandleEvent(TEventInfo& event)
{
    const CUIPoint p(event.point);
    switch (event.type) {
    case UIEVENT_BUTTONDOWN:
        m_model->SetDragSize(CDragRect::SystemSize());
        m_dragPoint = p;
        ApplyInput(m_model->Press(p));
        break;
    case UIEVENT_MOUSEMOVE: {
        const wchar_t* capture = CaptureName(m_model->Capture());
        if (capture != nullptr) ChartTrace(L"%s move x(%d) y(%d) \n", capture, p.x, p.y);
        const ChartInput input = m_model->Move(p);
        if (capture == nullptr) m_hoverCursor = input.cursor;
        if (capture != nullptr) m_dragPoint = p;
        ApplyInput(input);
        return;
    }
    case UIEVENT_SETCURSOR:
        // The window asks before every move: keep what hovering chose, so
        // the hand does not flicker back to the arrow.
        if (m_hoverCursor != ChartCursor::Keep) {
            SetCursor(LoadCursorW(nullptr, CursorId(m_hoverCursor)));
            return;
        }
        break;
    case UIEVENT_BUTTONUP: {
        const wchar_t* capture = CaptureName(m_model->Capture());
        if (capture != nullptr) ChartTrace(L"%s up x(%d) y(%d) \n", capture, p.x, p.y);
        ApplyInput(m_model->Release(p));
        break;
    }
    default:
        break;
    }
    ChartControl::HandleEvent(event);
}

void UIEqualizer::ApplyAttribute(const wchar_t* name, const wchar_t* value)
{
    if (wcscmp(name, L"bypassfont") == 0) {
        m_bypassFont = ParseAttrInt(value);
    } else if (wcscmp(name, L"curvecolor") == 0) {
        m_curveColorCount = ParseCurveColors(value, m_curveColors, kMaxCurveColors);
    } else if (wcscmp(name, L"curvelogo") == 0) {
        m_curveLogo = value;
    } else {
        ChartControl::ApplyAttribute(name, value);
    }
}

void UIEqualizer::DrawLabel(HDC dc, const CUIRect& rc, const wchar_t* text, DWORD color, int font)
{
    RECT box = rc;
    CRenderKit::DrawPlainText(dc, m_manager, box, text, color, font, m_text.style);
}

bool UIEqualizer::PaintSelf(HDC dc, const RECT&, CControlUI*)
{
    ChartTrace(L"DoPaint!!\n");
    if (m_model->LayoutDone()) m_model->RefreshSelection();
    else m_model->RecalcLayout(GetPosition(), ScalePercent());

    const EqChartGeometry& geo = m_model->Geometry();
    const CUIRect& plot = geo.Plot();
    int gainYs[sizeof(kGainGrid) / sizeof(kGainGrid[0])];
    const int gainCount = static_cast<int>(sizeof(kGainGrid) / sizeof(kGainGrid[0]));
    for (int i = 0; i < gainCount; ++i) gainYs[i] = geo.GainToY(static_cast<float>(kGainGrid[i]));
    PaintChartGrid(dc, plot, ChartTrunc(geo.ZeroY()), gainYs, gainCount,
                   {ApplyHslToColor(GetBackgroundColor()), kGridColor, geo.Scaled(1)});

    if (!m_curveLogo.IsEmpty()) {
        DrawImageSpec(dc, m_curveLogo, nullptr);
    } else if (m_model->AllFlat()) {
        const CUIString text = CResourceStore::GetInstance()->LookupText(L"${all_bypass}");
        DrawLabel(dc, CUIRect(plot.left, plot.top + 40, plot.right, plot.bottom), text, kBypassTextColor,
                 m_bypassFont);
    }
    PaintCurves(dc);
    PaintMarks(dc);
    return true;
}

bool UIEqualizer::BeginDirectRaster(HDC dc, int& dx, int& dy)
{
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    DIBSECTION dib;
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(dib), &dib) != sizeof(dib)) return false;
    if (dib.dsBm.bmBitsPixel != 32 || dib.dsBm.bmBits == nullptr) return false;
    // Only a plain offset between logical and device pixels is followed.
    POINT probe[2] = {{0, 0}, {1, 1}};
    if (!LPtoDP(dc, probe, 2) || probe[1].x - probe[0].x != 1 || probe[1].y - probe[0].y != 1) return false;
    dx = probe[0].x;
    dy = probe[0].y;
    RECT clip;
    if (GetClipBox(dc, &clip) == ERROR) return false;
    RECT area;
    if (!IntersectRect(&area, &clip, &m_item)) return false;
    OffsetRect(&area, dx, dy);
    const RECT canvas = {0, 0, dib.dsBm.bmWidth, dib.dsBm.bmHeight};
    if (!IntersectRect(&area, &area, &canvas)) return false;
    GdiFlush();
    uint32_t* bits = static_cast<uint32_t*>(dib.dsBm.bmBits);
    const int width = dib.dsBm.bmWidthBytes / 4;
    if (dib.dsBmih.biHeight > 0) m_raster.Begin(bits + (dib.dsBm.bmHeight - 1) * width, -width, area);
    else m_raster.Begin(bits, width, area);
    return true;
}

void UIEqualizer::PaintCurves(HDC dc)
{
    const EqChartModel& model = *m_model;
    const int current = model.CurrentCurve();
    const int s = model.Geometry().ScalePercent();
    int dx = 0;
    int dy = 0;
    // The paint manager paints into a 32-bit DIB: curves go straight into
    // its pixels. Any other target gets them through GDI+.
    const bool direct = BeginDirectRaster(dc, dx, dy);
    std::unique_ptr<Gdiplus::Graphics> graphics;
    if (!direct) {
        graphics.reset(new Gdiplus::Graphics(dc));
        graphics->SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
        graphics->SetClip(Gdiplus::Rect(m_item.left, m_item.top, m_item.Width(), m_item.Height()));
    }
    CUIPoint built[EqChartModel::kCurvePoints];
    Gdiplus::Point points[EqChartModel::kCurvePoints];
    auto drawCurve = [&](int curve, bool smooth, DWORD color, float width) {
        const int count = EqChartModel::BezierPointCount(model.BuildCurvePoints(curve, smooth, built));
        if (count == 0) return;
        if (direct) {
            m_raster.DrawBezierChain(built, count, dx, dy, color, width);
            return;
        }
        for (int k = 0; k < count; ++k) points[k] = Gdiplus::Point(built[k].x, built[k].y);
        Gdiplus::Pen pen(Gdiplus::Color(color), width);
        graphics->DrawBeziers(&pen, points, count);
    };
    const float otherWidth = static_cast<float>((current < m_curveColorCount ? 2 : 3) * s / 100);
    for (int i = 0; i < model.CurveCount(); ++i) {
        if (i == current || !model.CurveVisible(i)) continue;
        drawCurve(i, true, i < m_curveColorCount ? m_curveColors[i] : kOtherCurveColor, otherWidth);
    }
    // The current curve is drawn last, on top, whatever its show flag says.
    if (current >= 0 && current < EqChartModel::kMaxCurves) {
        drawCurve(current, false, current < m_curveColorCount ? m_curveColors[current] : kCurrentCurveColor,
                  static_cast<float>(2 * s / 100));
    }
}

void UIEqualizer::PaintMarks(HDC dc)
{
    const EqChartModel& model = *m_model;
    const int selected = model.Selected();
    const int font = m_text.font;
    // Where the band numbers crowd (the top bands lie a few pixels apart and
    // the last is pushed in from the plot's edge) a number that would run
    // into the one before it is drawn a line higher, or lower at the top.
    RECT previous = {0, 0, 0, 0};
    for (int b = 0; b < model.BandCount(); ++b) {
        wchar_t label[8];
        _snwprintf(label, 8, L"%d", b + 1);
        label[7] = L'\0';
        CUIRect box = model.BandRect(b);
        const int textWidth = CRenderKit::MeasureTextExtent(dc, m_manager, label, font).cx;
        RECT text = {(box.left + box.right - textWidth) / 2 - 1, box.top, (box.left + box.right + textWidth) / 2 + 1,
                     box.bottom};
        RECT overlap;
        if (IntersectRect(&overlap, &text, &previous)) {
            const int step = box.top - box.Height() >= model.Geometry().Plot().top ? -box.Height() : box.Height();
            box.top += step;
            box.bottom += step;
            OffsetRect(&text, 0, step);
        }
        previous = text;
        DrawLabel(dc, box, label, b == selected ? kMarkColor : kLabelColor, font);
    }
    if (selected >= 0) {
        const EqBand& band = model.Band(selected);
        CUIString text;
        if (model.Parametric()) {
            CUIString q;
            q.Printf(L"%0.2f", band.Q);
            text.Printf(L"%d Hz %s Q %.1f dB", band.freq, q.CStr(), band.gain);
            const int width = model.Geometry().Scaled(1);
            CRenderKit::DrawRectOutline(dc, model.QLeftRect(), width, kMarkColor);
            CRenderKit::DrawRectOutline(dc, model.QRightRect(), width, kMarkColor);
        } else {
            text.Printf(L"%.1f dB", band.gain);
        }
        DrawLabel(dc, model.SelectedLabelRect(), text, kMarkColor, font);
    }
    if (model.HpFreq() != -1) {
        DrawLabel(dc, model.HpRect(), L"H", model.Capture() == HP_CAPTURED ? kMarkColor : kLabelColor, font);
    }
    if (model.LpFreq() != -1) {
        DrawLabel(dc, model.LpRect(), L"L", model.Capture() == LP_CAPTURED ? kMarkColor : kLabelColor, font);
    }
}
