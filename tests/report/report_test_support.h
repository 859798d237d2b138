#pragma once
// Shared helpers of the report engine's tests.
#include "report/variant.h"

#include <ostream>

// Lets GoogleTest print values in its failure messages.
inline void PrintTo(const Variant &value, std::ostream *os)
{
    *os << VarTypeName(value.type()).toStdString() << "(" << value.ToString().toStdString() << ")";
}
