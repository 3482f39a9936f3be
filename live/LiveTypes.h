#pragma once

#include <QMetaType>

#include "gps/LiveFix.h"

// The live records as Qt meta-types, for signals and queued connections: every header of
// live/ that names them includes this one rather than gps/LiveFix.h.
Q_DECLARE_METATYPE(LiveFix)
Q_DECLARE_METATYPE(LiveState)
