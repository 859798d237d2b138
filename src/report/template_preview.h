#pragma once
// A result window's "Печать" over its one template of the reports folder: a
// report component of the window loads the file anew, the window's data sets
// are known to the engine under the window's name while the report is built
// and previewed, and the window answers the names in brackets.
#include "report/report.h"

#include <vector>

// A file that cannot be read, or any other failure, is shown in a message
// naming it; false then.
bool PreviewTemplateFile(const QString &formName, const QString &file, const std::vector<TfrDataset *> &datasets,
                         const TDetailEvent &values);
