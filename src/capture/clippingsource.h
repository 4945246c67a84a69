#pragma once

#include "model/timestamp.h"

#include <QString>

// Where and when a clipping was captured.
struct ClippingSource {
    QString appName;
    QString bundleID;
    Timestamp capturedAt;
};
