#include <utility>

#include "app/document.h"
#include "filters/geometry.h"

namespace quorvane {

void CropImage() {
    CopySelectionToWork();
    // The copy is exactly the new image: take its pixels rather than draw them.
    std::swap(ImageBitmap, WorkBitmap);
    WorkBitmap.ReleasePixels();
    SelectAll();
}

}  // namespace quorvane
