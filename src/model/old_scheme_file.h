#pragma once
// Scheme files of the earliest form: the whole tables one after the other in
// a fixed order, without records, recognised by the version field 0. Nothing
// writes this form any more.
#include "model/network.h"

#include <QtCore/QString>

constexpr int OldSchemeHeaderSize = 46;
constexpr int OldSchemePropertiesSize = 276;
constexpr int OldSchemeNameSize = 64;

// Loads an old-layout file into tables that the caller has reset. A capacity
// that does not divide 5000 makes the file invalid; a capacity other than 5000
// is loaded after a warning. Failures are exceptions; the caller undoes what
// was read.
void ReadOldMineFile(const QString &fileName, TNetworkTables &t);
