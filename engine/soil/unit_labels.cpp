#include "soil/unit_labels.h"

namespace velmor::engine {

int32_t UnitLabelFlag(int32_t unitSystem, int32_t otherwise) {
    switch (unitSystem) {
        case 1:
            return 1;
        case 2:
            return -1;
        default:
            return otherwise;
    }
}

void SetUnitLabels(UnitLabels& labels, int32_t flag) {
    labels.slash.assign("/");
    labels.dash.assign("-");
    labels.power.assign("**");
    labels.two.assign("2");
    labels.three.assign("3  ");
    labels.four.assign("4");
    labels.radian.assign("RAD");
    if (flag > 0) {
        labels.lengthLong.assign(" IN");
        labels.forceLong.assign(" LBS");
        labels.lengthShort.assign("IN");
        labels.forceShort.assign("LBS");
    } else if (flag == 0) {
        labels.lengthLong.assign("  L");
        labels.forceLong.assign("   F");
        labels.lengthShort.assign(" L");
        labels.forceShort.assign("  F");
    } else {
        labels.lengthLong.assign("  M");
        labels.forceLong.assign("  KN");
        labels.lengthShort.assign(" M");
        labels.forceShort.assign(" KN");
    }
}

}  // namespace velmor::engine
