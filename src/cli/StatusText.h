#pragma once

#include "link/UnitStatus.h"

#include <QString>

// A unit's status in the forms `orvex status` prints for a person (its
// JSON is UnitStatus's own). A value the poll did not get is "unknown".
namespace StatusText {

// One labelled value a line, for a person reading one answer.
QString table(const UnitStatus &status);
// Every value on one line, for a person watching changes go by.
QString line(const UnitStatus &status);

} // namespace StatusText
