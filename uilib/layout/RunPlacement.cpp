#include "uilib/layout/RunPlacement.h"

#include <algorithm>
#include <optional>

#include "uilib/layout/ScaledRun.h"

namespace SkinUI {

namespace {

void AddSize(CScaledRun& run, const TRunAsk& ask, int size)
{
    if (ask.skinSize > 0) {
        run.AddSkin(ask.skinSize);
    } else {
        run.AddDevice(size);
    }
}

// The run gives a child at its skin size the span placed, which may be a
// pixel off its scaled size. The pixel goes to the side with space between
// the child and its neighbour (before it first for the last child, whose end
// stays where its padding puts it); a child touching both neighbours spans
// its run, so that no gap opens and nothing overlaps.
void KeepScaledSize(const CControlUI& scaler, const TRunAsk& ask, TRunSpan& placed, int previousEnd, int limit,
                    bool last)
{
    const int off = scaler.Scaled(ask.skinSize) - (placed.end - placed.start);
    const bool roomBefore = placed.start > previousEnd;
    const bool roomAfter = placed.end < limit;
    if (off == 0 || !(roomBefore || roomAfter)) return;
    if (roomAfter && (!last || !roomBefore)) {
        placed.end = std::min<int>(placed.end + off, limit);
    } else {
        placed.start = std::max<int>(placed.start - off, previousEnd);
    }
}

} // namespace

TRunItem MakeRunItem(CControlUI* child, int measured, bool vertical)
{
    const CUIRect padding = child->GetPaddingValue();
    const CUISize skin = child->GetFixedSizeValue();
    TRunItem item = {};
    item.child = child;
    TRunAsk& ask = item.ask;
    ask.stretches = measured == 0;
    ask.minSize = vertical ? child->GetScaledMinHeight() : child->GetScaledMinWidth();
    ask.maxSize = vertical ? child->GetScaledMaxHeight() : child->GetScaledMaxWidth();
    ask.skinBefore = vertical ? padding.top : padding.left;
    ask.skinAfter = vertical ? padding.bottom : padding.right;
    if (!ask.stretches) {
        ask.size = std::min<int>(std::max<int>(measured, ask.minSize), ask.maxSize);
        const int skinSize = vertical ? skin.cy : skin.cx;
        if (skinSize > 0 && child->Scaled(skinSize) == ask.size) ask.skinSize = skinSize;
    }
    return item;
}

int PlaceRunItems(const CControlUI& scaler, int origin, int length, int skinGap, std::vector<TRunItem>& items)
{
    int stretching = 0;
    size_t lastStretching = items.size();
    int skinFixed = 0;
    int deviceFixed = 0;
    // From the end of the last stretching child to the end of the run.
    std::optional<CScaledRun> tail;
    for (size_t i = 0; i < items.size(); ++i) {
        const TRunAsk& ask = items[i].ask;
        skinFixed += ask.skinBefore + ask.skinAfter + (i > 0 ? skinGap : 0);
        if (ask.stretches) {
            ++stretching;
            lastStretching = i;
            tail.emplace(scaler, 0);
            tail->AddSkin(ask.skinAfter);
            continue;
        }
        if (ask.skinSize > 0) {
            skinFixed += ask.skinSize;
        } else {
            deviceFixed += ask.size;
        }
        if (tail) {
            tail->AddSkin(skinGap + ask.skinBefore);
            AddSize(*tail, ask, ask.size);
            tail->AddSkin(ask.skinAfter);
        }
    }
    const int share =
        stretching > 0 ? std::max<int>(0, (length - scaler.Scaled(skinFixed) - deviceFixed) / stretching) : 0;

    // The last stretching child takes the rounding rest.
    const int edge = origin + length;
    CScaledRun run(scaler, origin);
    int previousEnd = origin;
    for (size_t i = 0; i < items.size(); ++i) {
        const TRunAsk& ask = items[i].ask;
        TRunSpan& placed = items[i].placed;
        if (i > 0) run.AddSkin(skinGap);
        run.AddSkin(ask.skinBefore);
        placed.start = run.Position();
        int size = ask.size;
        if (ask.stretches) {
            const int rest = i == lastStretching ? edge - placed.start - tail->Position() : share;
            size = std::min<int>(std::max<int>(std::max<int>(rest, 0), ask.minSize), ask.maxSize);
        }
        AddSize(run, ask, size);
        placed.end = run.Position();
        if (ask.skinSize > 0) {
            const bool last = i + 1 == items.size();
            // What follows starts there; the last child may reach the edge.
            CScaledRun next = run;
            next.AddSkin(ask.skinAfter + (last ? 0 : skinGap));
            const int limit = last ? std::max<int>(next.Position(), edge) : next.Position();
            if (last) placed.end = std::max<int>(next.Position() - scaler.Scaled(ask.skinAfter), placed.start);
            KeepScaledSize(scaler, ask, placed, previousEnd, limit, last);
        }
        previousEnd = placed.end;
        run.AddSkin(ask.skinAfter);
    }
    return run.Position() - origin;
}

} // namespace SkinUI
