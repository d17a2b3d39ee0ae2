#include "chart/Zoom.h"

#include "base/Errors.h"

namespace quillon {

TDragAction ClassifyDrag(int fromColumn, int fromRow, int toColumn, int toRow) {
    const long long across = static_cast<long long>(toColumn) - fromColumn;
    const long long down = static_cast<long long>(toRow) - fromRow;
    if (across >= MinimumZoomPixels && down >= MinimumZoomPixels) {
        return TDragAction::ZoomIn;
    }
    if (across <= -MinimumZoomPixels && down <= -MinimumZoomPixels) {
        return TDragAction::ZoomReset;
    }
    return TDragAction::None;
}

TChartRanges RangesUnder(const TChartLayout& layout, const TPixelRect& rect) {
    if (!layout.HasScales()) {
        ThrowRangeCheckError();
    }
    return TChartRanges{TValueRange{layout.x->ValueAt(rect.left), layout.x->ValueAt(rect.right)},
                        TValueRange{layout.y->ValueAt(rect.bottom), layout.y->ValueAt(rect.top)}};
}

} // namespace quillon
