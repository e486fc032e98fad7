#include "uilib/layout/RunPlacement.h"

#include <algorithm>

#include "uilib/layout/ScaledRun.h"

namespace SkinUI {

namespace {

void AddSize(CScaledRun& run, const TRunItem& item)
{
    if (item.skinSize > 0) {
        run.AddSkin(item.skinSize);
    } else {
        run.AddDevice(item.size);
    }
}

// Device length from the end of items[from] to the end of the run.
int TailLength(const CControlUI& scaler, const std::vector<TRunItem>& items, size_t from, int skinGap)
{
    CScaledRun run(scaler, 0);
    run.AddSkin(items[from].skinAfter);
    for (size_t i = from + 1; i < items.size(); ++i) {
        run.AddSkin(skinGap + items[i].skinBefore);
        AddSize(run, items[i]);
        run.AddSkin(items[i].skinAfter);
    }
    return run.Position();
}

// The run gives a child at its skin size the span [start, end], which may be
// a pixel off its scaled size. The pixel goes to the side with space between
// the child and its neighbour (before it first for the last child, whose end
// stays where the run ends); a child touching both neighbours spans its run,
// so that no gap opens and nothing overlaps.
void KeepScaledSize(const CControlUI& scaler, TRunItem& item, int previousEnd, int limit, bool last)
{
    const int off = scaler.Scaled(item.skinSize) - (item.end - item.start);
    const bool roomBefore = item.start > previousEnd;
    const bool roomAfter = item.end < limit;
    if (off == 0 || !(roomBefore || roomAfter)) return;
    if (roomAfter && (!last || !roomBefore)) {
        item.end = std::min<int>(item.end + off, limit);
    } else {
        item.start = std::max<int>(item.start - off, previousEnd);
    }
}

} // namespace

TRunItem MakeRunItem(CControlUI* child, int measured, bool vertical)
{
    const CUIRect padding = child->GetPaddingValue();
    const CUISize skin = child->GetFixedSizeValue();
    TRunItem item = {};
    item.child = child;
    item.stretches = measured == 0;
    item.minSize = vertical ? child->GetScaledMinHeight() : child->GetScaledMinWidth();
    item.maxSize = vertical ? child->GetScaledMaxHeight() : child->GetScaledMaxWidth();
    item.skinBefore = vertical ? padding.top : padding.left;
    item.skinAfter = vertical ? padding.bottom : padding.right;
    if (!item.stretches) {
        item.size = std::min<int>(std::max<int>(measured, item.minSize), item.maxSize);
        const int skinSize = vertical ? skin.cy : skin.cx;
        if (skinSize > 0 && child->Scaled(skinSize) == item.size) item.skinSize = skinSize;
    }
    return item;
}

int PlaceRunItems(const CControlUI& scaler, int origin, int length, int skinGap, std::vector<TRunItem>& items)
{
    int stretching = 0;
    size_t lastStretching = items.size();
    int skinFixed = 0;
    int deviceFixed = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const TRunItem& item = items[i];
        skinFixed += item.skinBefore + item.skinAfter + (i > 0 ? skinGap : 0);
        if (item.stretches) {
            ++stretching;
            lastStretching = i;
        } else if (item.skinSize > 0) {
            skinFixed += item.skinSize;
        } else {
            deviceFixed += item.size;
        }
    }
    const int share =
        stretching > 0 ? std::max<int>(0, (length - scaler.Scaled(skinFixed) - deviceFixed) / stretching) : 0;

    // The last stretching child takes the rounding rest.
    const int edge = origin + length;
    CScaledRun run(scaler, origin);
    int previousEnd = origin;
    for (size_t i = 0; i < items.size(); ++i) {
        TRunItem& item = items[i];
        if (i > 0) run.AddSkin(skinGap);
        run.AddSkin(item.skinBefore);
        item.start = run.Position();
        if (item.stretches) {
            const int rest = i == lastStretching ? edge - item.start - TailLength(scaler, items, i, skinGap) : share;
            item.size = std::min<int>(std::max<int>(std::max<int>(rest, 0), item.minSize), item.maxSize);
        }
        AddSize(run, item);
        item.end = run.Position();
        if (item.skinSize > 0) {
            const bool last = i + 1 == items.size();
            // What follows starts there; the last child may reach the edge.
            CScaledRun next = run;
            next.AddSkin(item.skinAfter + (last ? 0 : skinGap));
            const int limit = last ? std::max<int>(next.Position(), edge) : next.Position();
            KeepScaledSize(scaler, item, previousEnd, limit, last);
        }
        previousEnd = item.end;
        run.AddSkin(item.skinAfter);
    }
    return run.Position() - origin;
}

} // namespace SkinUI
