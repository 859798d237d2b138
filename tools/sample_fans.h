#pragma once
// The sample fan catalogue of data/Вентиляторы: the fan types that the sample
// mine installs, with falling characteristics on which each of its fans
// works inside the characteristic's working range.
#include <QtCore/QString>
#include <QtCore/QStringList>

// Writes one "*.Fan" file per sample type into folder (which must exist);
// the names of the files written. Errors raise an Exception naming the file.
QStringList WriteSampleFanCatalogue(const QString &folder);
