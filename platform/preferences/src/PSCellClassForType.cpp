#include "preferences/PSCellClasses.h"
#include "preferences/PSCellTypes.h"

Class* PSTableCellClassForCellType(NSInteger cellType) {
    switch (cellType) {
    case PSSwitchCell:
        return classOf<PSSwitchTableCell>();
    case PSEditTextCell:
    case PSSecureEditTextCell:
    case PSEditTextViewCell:
        return classOf<PSEditableTableCell>();
    case PSSegmentCell:
        return classOf<PSSegmentTableCell>();
    case PSSliderCell:
        return classOf<PSSliderTableCell>();
    default:
        return classOf<PSTableCell>();
    }
}
