// SPDX-License-Identifier: Apache-2.0
// SymbolAction: one animation action of a situation document ("Action" in an
// "ActionGroup"): which symbol does what, when and for how long.
//
// A new record is all zero and false. Only the fields of the action's type
// are read from the document; the others keep their zero values and are not
// written.
#ifndef SITCONV_SYMBOLACTION_H
#define SITCONV_SYMBOLACTION_H

#include <vector>

namespace HQ {

struct SymbolAction {
    int actionGuid = 0;
    int symbolGuid = 0;
    int actionType = 0;  // 1 blink, 2 rotate, 8 follow a route, 9 move; others have no own fields
    int startTime = 0;
    int durationTime = 0;
    bool isPlayEndReset = false;
    int blinkInterval = 0;          // type 1
    int rotateType = 0;             // type 2
    int routeBindGuid = 0;          // type 8
    bool isVisibleRoute = false;    // type 8
    bool hasRotateCorrect = false;  // type 8: an "ActionRotateRoute" element was read
    int rotateCorrect = 0;          // type 8
    double altitude = 0.0;          // type 9, as are the fields below
    int moveType = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    double heading = 0.0;
    double tilt = 0.0;
};

// The actions of one group, in document order.
using ActionGroup = std::vector<SymbolAction>;

}  // namespace HQ

#endif
