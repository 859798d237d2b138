#pragma once
// What the main window's view and task commands do to the tables, kept apart
// from the window so that tests can drive them: label toggles, colouring
// modes, the Q/H/R baseline, path length and the PLA documents of a position.
#include "model/branch_values.h"
#include "model/network.h"
#include "platform/prompt.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <vector>

// True when some present branch has every bit of mask in its label flags.
bool AnyBranchHasLabelBits(const TNetworkTables &t, std::int32_t mask);
// Sets (on) or clears the bits in the label flags of every existing branch;
// labels chosen for a single branch are overwritten for these bits.
void SetBranchLabelBits(TNetworkTables &t, std::int32_t bits, bool on);

// Sum of the lengths of the selected branches, metres.
int SelectedBranchesLength(const TNetworkTables &t);
// The answer of "Длина пути...".
TMessage PathLengthMessage(const TNetworkTables &t);

// Q, depression and R of every existing branch into the baseline tables.
void TakeQHRBaseline(TNetworkTables &t);

// Selected branches maroon, every other place the branch colour.
void SetStandardColors(const TNetworkTables &t, TBranchColors &colors, std::int32_t branchColor);
// Every place takes its PLA colour, existing branch or not.
void FillPLAColors(const TNetworkTables &t, TBranchColors &colors);
// Selected branches maroon, others the colour of their layer (layer 0 when
// the branch's layer index is past the list). The list must not be empty.
void FillLayerColors(const TNetworkTables &t, const std::vector<std::int32_t> &layerColors,
                     TBranchColors &colors);
// Existing branches marked as lying in the reversal zone.
int ReversalZoneCount(const TNetworkTables &t);

// PLA documents of a position: the files in <PLA folder>/<mine name>/ whose
// names begin with the position in three digits.
QString PLADocumentFolder(const QString &plaFolder, const QString &mineName);
QString PLADocumentMask(int position);
QStringList FindPLADocuments(const QString &plaFolder, const QString &mineName, int position);
TMessage NoPLADocumentsMessage(const QString &plaFolder, int position);
